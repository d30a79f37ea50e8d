# encode() and Symbol against the built library (ECC200_LIBRARY): the
# standard's worked example, pictures read back by ZXingReader (SVG through
# rsvg-convert), the pixels through numpy and Pillow, and the refusals.
import errno
import io
import subprocess
import sys
import threading
import typing

import pytest

import ecc200

# ISO/IEC 16022 worked example: "12" is the digit pair 142, padded with 129
# and the randomised pad 70, with the check codewords of a 10 x 10 symbol.
EXAMPLE_CODEWORDS = bytes([142, 129, 70, 199, 165, 81, 164, 113])


def read_back(path):
    result = subprocess.run(["ZXingReader", "-bytes", "-format", "DataMatrix", str(path)], capture_output=True)
    assert result.returncode == 0, result.stderr
    return result.stdout


def test_the_worked_example():
    sym = ecc200.encode("12")
    assert (sym.rows, sym.columns) == (10, 10)
    assert sym.data_codewords == bytes([142]) and sym.codewords == EXAMPLE_CODEWORDS
    # The finder pattern (ISO/IEC 16022 4.1): a solid L left and bottom,
    # alternating modules top and right, dark at (0, 0) and (9, 9).
    assert all(sym[row, 0] for row in range(10)) and all(sym[9, col] for col in range(10))
    assert [sym[0, col] for col in range(10)] == [col % 2 == 0 for col in range(10)]
    assert [sym[row, 9] for row in range(10)] == [row % 2 == 1 for row in range(10)]
    assert sym.matrix[3] == bytes(int(sym[3, col]) for col in range(10))
    for outside in [(10, 0), (0, 10), (-1, 0)]:
        with pytest.raises(IndexError):
            sym[outside]


# Each option's mark in the data codewords (ISO/IEC 16022 5.2 to 5.6) or in
# the symbol's size.
@pytest.mark.parametrize("data, options, check", [
    ("12", {"shape": "rectangle"}, lambda sym: (sym.rows, sym.columns) == (8, 18)),
    ("12", {"symbol_size": (20, 20)}, lambda sym: (sym.rows, sym.columns) == (20, 20)),
    ("12", {"dmre": True, "shape": "rectangle", "symbol_size": (8, 48)}, lambda sym: sym.columns == 48),
    ("ABC", {"encodation": "c40"}, lambda sym: sym.data_codewords[0] == 230),   # latch to C40
    ("abc", {"encodation": "text"}, lambda sym: sym.data_codewords[0] == 239),  # latch to Text
    ("ABC", {"encodation": "x12"}, lambda sym: sym.data_codewords[0] == 238),   # latch to ANSI X12
    ("ABCD", {"encodation": "edifact"}, lambda sym: sym.data_codewords[0] == 240),
    (b"\xff\xfe", {"encodation": "base256"}, lambda sym: sym.data_codewords[0] == 231),
    ("x", {"eci": 26}, lambda sym: sym.data_codewords[:2] == bytes([241, 27])),  # ECI, value + 1
    ("x", {"reader_init": True}, lambda sym: sym.data_codewords[0] == 234),
    ("(01)09501101530003", {"gs1": True}, lambda sym: sym.data_codewords[0] == 232),  # FNC1 first
    ("x", {"structured_append": (1, 2, 7)}, lambda sym: sym.data_codewords[0] == 233),
    ("x" * 1000, {"iso144": True, "symbol_size": (144, 144)}, lambda sym: sym.rows == 144),
])
def test_encode_options_mark_the_symbol(data, options, check):
    sym = ecc200.encode(data, **options)
    assert check(sym), (options, sym.rows, sym.columns, list(sym.data_codewords[:4]))


def test_the_preview_shows_the_symbol_in_its_quiet_zone():
    sym = ecc200.encode("12")
    lines = str(sym).split("\n")
    assert len(lines) == 7 and {len(line) for line in lines} == {14}
    assert lines[0] == lines[6] == "\u2588" * 14  # rows -2, -1, 10 and 11: the quiet zone
    assert lines[1][:3] == "\u2588\u2588 "  # rows 0 and 1 dark at column 0
    assert lines[5][2] == " " and lines[5][11] == "\u2580"  # column 9: row 8 light, row 9 dark


@pytest.mark.parametrize("data, expected, picture", [
    ("Grüße, ½", "Grüße, ½".encode("latin-1"), {}),
    ("Ωμέγα, ECI 26", "Ωμέγα, ECI 26".encode("utf-8"), {}),  # outside ISO 8859-1: UTF-8 under ECI 26
    (b"\x00\x01\x80\xff raw", b"\x00\x01\x80\xff raw", {"quarter_turns": 1, "border": "solid", "module_px": 3}),
    (bytearray(b"0123456789" * 60), b"0123456789" * 60, {"module_px": 2, "quiet_zone": 4}),
    (memoryview(b"turned"), b"turned", {"quarter_turns": 3, "dark": "#000080", "light": (255, 255, 0)}),
    ("sized", b"sized", {"size": (300, 200), "border": "dashed", "dpi": 300, "module_cm": 0.05}),
])
def test_pictures_read_back_as_the_data(tmp_path, data, expected, picture):
    sym = ecc200.encode(data)
    for format in ("bmp", "png"):
        path = tmp_path / f"symbol.{format}"
        sym.save(path, **picture)
        assert read_back(path) == expected
        assert path.read_bytes() == getattr(sym, format)(**picture)


def test_keywords_of_one_call_leave_the_defaults_of_the_next():
    # Each call's structs start as copies of one shared struct of the defaults.
    sym = ecc200.encode("12")
    default_bmp, default_codewords = sym.bmp(), sym.codewords
    sym.bmp(size=(90, 60), quiet_zone=5, module_cm=0.05, dpi=300, quarter_turns=1, border="solid", dark="#000080",
            light=(255, 255, 0), allow_crop=True, seamless=True)
    ecc200.encode("12", encodation="c40", shape="rectangle", eci=3, reader_init=True, symbol_size=(12, 26))
    assert sym.bmp() == default_bmp and ecc200.encode("12").codewords == default_codewords == EXAMPLE_CODEWORDS


def test_svg_reads_back_and_embeds(tmp_path):
    sym = ecc200.encode("SVG")
    sym.save(tmp_path / "symbol.svg")
    assert (tmp_path / "symbol.svg").read_text(encoding="utf-8") == sym.svg()
    subprocess.run(["rsvg-convert", "--dpi-x", "300", "--dpi-y", "300", "-o", str(tmp_path / "svg.png"),
                    str(tmp_path / "symbol.svg")], check=True)
    assert read_back(tmp_path / "svg.png") == b"SVG"
    assert sym.svg_inline().startswith("<svg") and sym.svg().endswith(sym.svg_inline())
    assert sym._repr_svg_() == sym.svg_inline()


def test_png_for_notebooks_and_html():
    sym = ecc200.encode("notebook")
    assert sym._repr_png_().startswith(b"\x89PNG\r\n\x1a\n")
    assert sym.png_data_uri().startswith("data:image/png;base64,iVBORw0KGgo")


def test_pixels_through_numpy_and_pillow():
    numpy = pytest.importorskip("numpy")
    pillow = pytest.importorskip("PIL.Image")
    sym = ecc200.encode("pixels")
    array = numpy.asarray(sym.to_image(module_px=3, quiet_zone=2))
    assert array.dtype == numpy.uint8 and array.shape == ((sym.rows + 4) * 3, (sym.columns + 4) * 3)
    assert set(numpy.unique(array)) == {0, 255}
    assert (array == 0).sum() == 9 * sum(map(sum, sym.matrix))
    assert array[6:9, 6:9].max() == 0 and array[:6].min() == 255  # module (0, 0) dark, quiet zone light
    image = pillow.fromarray(sym.to_image(module_px=3))
    assert image.tobytes() == sym.to_pil(module_px=3).tobytes() == array.tobytes()
    # to_pil's annotation names the class of what it returns.
    annotated = typing.get_type_hints(ecc200.Symbol.to_pil, {"PIL": sys.modules["PIL"]})["return"]
    assert isinstance(sym.to_pil(), annotated) and annotated is pillow.Image


def test_import_loads_neither_numpy_nor_pillow():
    code = "import sys, ecc200; ecc200.encode('x').to_image(); print(sorted({'numpy', 'PIL'} & set(sys.modules)))"
    assert subprocess.run([sys.executable, "-c", code], capture_output=True, check=True).stdout == b"[]\n"


def test_save_to_files_and_streams(tmp_path):
    sym = ecc200.encode("streams")
    stream = io.BytesIO()
    sym.save(stream, "wmf", border="solid")
    sym.save(tmp_path / "symbol.WMF", border="solid")
    assert stream.getvalue() == (tmp_path / "symbol.WMF").read_bytes() == sym.wmf(border="solid")
    with open(tmp_path / "named.emf", "wb") as file:
        sym.save(file)
    assert (tmp_path / "named.emf").read_bytes() == sym.emf()
    for target in (tmp_path / "symbol.gif", tmp_path / "symbol", io.BytesIO()):
        with pytest.raises(ValueError, match="format"):
            sym.save(target)
    with pytest.raises(FileNotFoundError) as caught:
        sym.save(tmp_path / "missing" / "symbol.bmp")
    assert caught.value.errno == errno.ENOENT and caught.value.filename == str(tmp_path / "missing" / "symbol.bmp")
    assert isinstance(caught.value, ecc200.FileError) and caught.value.status == 5  # ECC200_FILE_ERROR
    (tmp_path / "symbol.WMF").chmod(0o444)  # refused by the library, even for root
    with pytest.raises(PermissionError) as caught:
        sym.save(tmp_path / "symbol.WMF", border="none")
    assert isinstance(caught.value, ecc200.Ecc200Error) and caught.value.errno == errno.EACCES
    with pytest.raises(ecc200.ArgumentTypeError):
        sym.save(12, "png")
    assert (tmp_path / "symbol.WMF").read_bytes() == stream.getvalue()
    assert sorted(path.name for path in tmp_path.iterdir()) == ["named.emf", "symbol.WMF"]


@pytest.mark.parametrize("call, error", [
    (lambda: ecc200.encode("abcΩ", eci=3), ValueError), (lambda: ecc200.encode(12), TypeError),
    (lambda: ecc200.encode("x", encodation="morse"), ValueError), (lambda: ecc200.encode("x", dmre=1), TypeError),
    (lambda: ecc200.encode("x", eci=10**6), ValueError), (lambda: ecc200.encode("x", colour=1), TypeError),
    (lambda: ecc200.encode("x", structured_append=(3, 2, 1)), ValueError),
    (lambda: ecc200.encode("x").bmp(size=(0, 10)), ValueError),
    (lambda: ecc200.encode("x").bmp(module_cm=0.1, module_px=2), TypeError),
    (lambda: ecc200.encode("x").bmp(quarter_turns=4), ValueError),
    (lambda: ecc200.encode("x").bmp(dark="#12345"), ValueError),
    (lambda: ecc200.encode("x").bmp(light=(1, 2, 256)), ValueError),
    (lambda: ecc200.encode("x").bmp(border="dotted"), ValueError),
    (lambda: ecc200.encode("x").png(fit=True), TypeError),
    (lambda: ecc200.encode("x").save(io.BytesIO(), "gif"), ValueError),
])
def test_bad_arguments_are_refused(call, error):
    with pytest.raises(error) as caught:
        call()
    # The package's refusals are all Ecc200Errors; only Python's own (an
    # unknown keyword) is not.
    assert isinstance(caught.value, ecc200.Ecc200Error) or "unexpected keyword" in str(caught.value)


def test_library_refusals():
    with pytest.raises(ValueError, match="index 3"):
        ecc200.encode("abcΩ", eci=3)
    with pytest.raises(ValueError, match="index 3"):
        ecc200.save_bmp("never-written.bmp", "abcΩ")
    with pytest.raises(ecc200.MessageTooLong) as caught:
        ecc200.encode(b"\xff" * 1600)
    assert isinstance(caught.value, ValueError) and isinstance(caught.value, ecc200.Ecc200Error)
    assert caught.value.capacity == 1558 < caught.value.codewords_needed
    sym = ecc200.encode("cut")
    with pytest.raises(ecc200.SymbolCropped) as cropped:
        sym.bmp(size=(40, 40), module_cm=1)
    fitted = sym.bmp(module_cm=1)  # the picture that holds the symbol: its BMP's biWidth and biHeight
    assert (cropped.value.needed_width, cropped.value.needed_height) == (
        int.from_bytes(fitted[18:22], "little"), int.from_bytes(fitted[22:26], "little"))
    assert sym.bmp(size=(40, 40), module_cm=1, allow_crop=True)[:2] == b"BM"


def test_threads_render_in_parallel_to_the_same_bytes():
    sym = ecc200.encode(b"\x80" * 700)
    expected = sym.bmp(module_px=4)
    results = []

    def render():
        results.extend(sym.bmp(module_px=4) == expected for _ in range(20))

    threads = [threading.Thread(target=render) for _ in range(2)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert results == [True] * 40


def test_pdf_and_eps_carry_the_human_readable_text(tmp_path):
    sym = ecc200.encode("[01]09506000134352[10]ABC123", gs1=True)
    hri = "(01)09506000134352(10)ABC123"
    pdf = sym.pdf(module_cm=0.05, hri=True)
    assert pdf.startswith(b"%PDF-")
    (tmp_path / "label.pdf").write_bytes(pdf)
    text = subprocess.run(["pdftotext", str(tmp_path / "label.pdf"), "-"], capture_output=True, check=True).stdout
    assert hri.encode() in text
    sym.save(tmp_path / "label.eps", module_cm=0.05, hri=True)  # the format from the extension
    assert (tmp_path / "label.eps").read_bytes().startswith(b"%!PS-Adobe-3.0 EPSF-3.0")
    assert f">{hri}</text>" in sym.svg(hri=True)
    with pytest.raises(ecc200.Ecc200Error, match="SVG, PDF and EPS"):
        sym.save(tmp_path / "label.png", hri=True)
    with pytest.raises(ecc200.Ecc200Error, match="0x0A"):
        ecc200.encode("two\nlines").pdf(hri=True)


def test_zpl_labels_in_printer_dots(tmp_path):
    sym = ecc200.encode("label printer")
    label = sym.zpl(module_cm=0.05)  # 203 dpi: 0.5 mm is 4 dots
    side = (sym.rows + 4) * 4
    assert label.startswith(b"^XA^PW%d^LL%d^FO0,0^GFA," % (side, side)) and label.endswith(b"^FS^XZ\n")
    assert sym.zpl(module_cm=0.05, dpi=300).startswith(b"^XA^PW%d" % ((sym.rows + 4) * 6))
    sym.save(tmp_path / "label.ZPL", module_cm=0.05)
    assert (tmp_path / "label.ZPL").read_bytes() == label
    assert b":Z64:" in sym.zpl(zpl_z64=True) and sym.zpl(zpl_field_only=True).startswith(b"^FO0,0^GFA,")
    with pytest.raises(ecc200.PictureTooLarge):
        ecc200.encode("x" * 1500).zpl(module_px=40)
