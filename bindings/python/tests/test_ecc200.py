# The Python package against the built library (ECC200_LIBRARY), its
# symbols read back by ZXingReader.
import errno
import os
import subprocess
import warnings

import pytest

import ecc200


def read_back(path):
    result = subprocess.run(["ZXingReader", "-bytes", "-format", "DataMatrix", str(path)], capture_output=True)
    assert result.returncode == 0, result.stderr
    return result.stdout


@pytest.mark.parametrize("message, expected, settings", [
    ("Grüße, ½", "Grüße, ½".encode("latin-1"), {}),
    (b"\x01\x80\xff raw bytes", b"\x01\x80\xff raw bytes", {"orientation": 1, "border": "solid"}),
    (bytearray(b"0123456789" * 40), b"0123456789" * 40, {"width": 900, "height": 900, "module_cm": 0.1}),
    ("turned", b"turned", {"orientation": 3, "border": 1, "bar": (0, 0, 128), "background": (255, 255, 0)}),
])
def test_saved_bmp_reads_back_as_the_message(tmp_path, message, expected, settings):
    for path in (tmp_path / "symbol.bmp", str(tmp_path / "s.bmp"), bytes(tmp_path / "b.bmp")):
        ecc200.save_bmp(path, message, **settings)
        assert read_back(os.fsdecode(path)) == expected


def test_each_call_sets_every_setting(tmp_path):
    lib = ecc200.library()
    lib.DMSetDefault()
    lib.DMSetMessage(b"12")
    assert lib.DMSaveAsBMP(bytes(tmp_path / "reference.bmp")) == 1
    assert lib.DMSaveAsWMF(bytes(tmp_path / "reference.wmf")) == 1
    ecc200.save_bmp(tmp_path / "other.bmp", "other", width=80, height=90, module_cm=0.05, orientation=2,
                    border="dashed", bar=(9, 9, 9), background=(1, 2, 3))
    ecc200.save_bmp(tmp_path / "default.bmp", "12")
    ecc200.save_wmf(tmp_path / "default.wmf", b"12")
    for kind in ("bmp", "wmf"):
        assert (tmp_path / f"default.{kind}").read_bytes() == (tmp_path / f"reference.{kind}").read_bytes()
    ecc200.copy_to_clipboard("12")


@pytest.mark.parametrize("arguments, error", [
    ({"message": "Ω"}, ValueError), ({"message": "a\0b"}, ValueError), ({"message": b"a\0"}, ValueError),
    ({"message": "1" * 2000}, ValueError), ({"message": 12}, TypeError),
    ({"width": 0}, ValueError), ({"height": 2**31}, ValueError), ({"width": True}, TypeError),
    ({"module_cm": 0}, ValueError), ({"module_cm": 1e-50}, ValueError), ({"module_cm": float("nan")}, ValueError),
    ({"module_cm": "0.2"}, TypeError), ({"orientation": 4}, ValueError), ({"border": "dotted"}, ValueError),
    ({"bar": (256, 0, 0)}, ValueError), ({"background": (1, 2)}, TypeError), ({"path": "a\0.bmp"}, ValueError),
])
def test_refused_arguments_write_nothing(tmp_path, arguments, error):
    arguments = {"path": tmp_path / "refused.bmp", "message": "12", **arguments}
    with pytest.raises(error) as caught:
        ecc200.save_bmp(**arguments)
    assert isinstance(caught.value, ecc200.Ecc200Error)
    assert list(tmp_path.iterdir()) == []


def test_library_failures_raise_with_their_reason(tmp_path):
    with pytest.raises(ecc200.Ecc200Error, match="DMSaveAsBMP .*missing.* failed: .*") as caught:
        ecc200.save_bmp(tmp_path / "missing" / "symbol.bmp", "12")
    assert caught.value.function == "DMSaveAsBMP"
    # The file system's failure is an OSError too, as Symbol.save's is.
    assert isinstance(caught.value, FileNotFoundError) and caught.value.errno == errno.ENOENT
    for output in (ecc200.save_bmp, ecc200.save_wmf):
        with pytest.raises(ecc200.Ecc200Error, match="message does not fit|file cannot be written"):
            output(tmp_path / "long", b"\xff" * 1999)  # 3998 codewords, more than 1558
    with pytest.raises(ecc200.Ecc200Error, match="DMCopyToClipboard failed"):
        ecc200.copy_to_clipboard(b"\xff" * 1999)
    assert list(tmp_path.iterdir()) == []


def test_a_library_named_by_the_variable_must_load(monkeypatch, tmp_path):
    monkeypatch.setenv(ecc200.ENVIRONMENT_VARIABLE, str(tmp_path / "none.so"))
    with pytest.raises(OSError, match=ecc200.ENVIRONMENT_VARIABLE) as caught:
        ecc200._native.load_library()
    assert isinstance(caught.value, ecc200.LibraryError)


@pytest.mark.parametrize("settings", [
    {}, {"width": 120, "height": 90, "module_cm": 0.05, "orientation": 1, "border": "dashed"},
    {"orientation": 2, "border": "solid", "bar": (0, 0, 128), "background": (255, 255, 0)},
])
def test_the_nine_draw_as_the_per_call_interface(tmp_path, settings):
    """The same picture both ways: the crop warning below relies on it."""
    ecc200.save_bmp(tmp_path / "legacy.bmp", "same", **settings)
    picture = {"size": (settings.get("width", 500), settings.get("height", 300)),
               "module_cm": settings.get("module_cm", 0.2), "quarter_turns": settings.get("orientation", 0),
               "border": settings.get("border", "none"), "dark": settings.get("bar", (0, 0, 0)),
               "light": settings.get("background", (255, 255, 255)), "allow_crop": True}
    assert (tmp_path / "legacy.bmp").read_bytes() == ecc200.encode("same").bmp(**picture)


def test_a_cut_symbol_is_written_with_a_warning(tmp_path):
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        ecc200.save_bmp(tmp_path / "whole.bmp", "12")
    for output, name in ((ecc200.save_bmp, "cut.bmp"), (ecc200.save_wmf, "cut.wmf")):
        with pytest.warns(ecc200.CroppedSymbolWarning, match="cuts the symbol"):
            output(tmp_path / name, "12", module_cm=5)
        assert (tmp_path / name).stat().st_size > 0
    with pytest.warns(ecc200.CroppedSymbolWarning):
        ecc200.copy_to_clipboard("12", width=30, height=30)
