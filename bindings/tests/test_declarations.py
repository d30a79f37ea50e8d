# Every binding declares the functions of include/ecc200.h with each
# parameter and result of the type the header gives, so that a change of the
# header that is not carried over to a binding fails here. Python declares
# every function and struct, exactly; C#, VBA and Delphi declare the nine
# functions of the first release and the common per-call ones (the
# per-call structs stay behind pointers there). The VBA and Delphi
# declarations cannot run on this machine; C# and Python also run elsewhere.
import ctypes
import pathlib
import re

import pytest

from ecc200 import _native

ROOT = pathlib.Path(__file__).resolve().parents[2]
LEGACY = {"DMSetDefault", "DMSetSize", "DMSetMessage", "DMSetInfo", "DMSetBackColor", "DMSetBarColor",
          "DMCopyToClipboard", "DMSaveAsWMF", "DMSaveAsBMP"}
# The per-call functions every binding declares: enough to encode a message,
# save its picture and say why not.
COMMON = {"ecc200_version", "ecc200_status_text", "ecc200_encode", "ecc200_symbol_free", "ecc200_symbol_rows",
          "ecc200_symbol_columns", "ecc200_save"}

# C types as kinds of value crossing the call: the typedefs of ecc200.h
# resolved, const dropped, pointers as ptr(pointee).
C_SCALARS = {"void": "void", "int": "i32", "int32_t": "i32", "ecc200_status": "i32", "ecc200_format": "i32",
             "uint32_t": "u32", "unsigned char": "u8", "uint8_t": "u8", "char": "char", "double": "f64",
             "size_t": "size"}


def header_text():
    return re.sub(r"/\*.*?\*/", "", (ROOT / "include/ecc200.h").read_text(), flags=re.S)


def parameter_type(declaration):
    """`const uint8_t **bytes` -> `const uint8_t **`."""
    declaration = re.sub(r"\s+", " ", declaration.strip())
    return re.sub(r"\s*(\**)\s*\w+$", r" \1", declaration).strip()


def c_kind(c_type):
    c_type = re.sub(r"\s+", " ", c_type.replace("const ", "")).strip()
    if c_type == "char *":
        return "string"
    if c_type.endswith("*"):
        return f"ptr({c_kind(c_type[:-1])})"
    if c_type == "ecc200_write_fn":
        return write_function_kind()
    return C_SCALARS.get(c_type, c_type)


def write_function_kind():
    result, parameters = re.search(r"typedef (\w+)\s*\(ECC200_CALL \*ecc200_write_fn\)\(([^)]*)\);",
                                   header_text()).groups()
    return f"fn({c_kind(result)}: {', '.join(c_kind(parameter_type(p)) for p in parameters.split(','))})"


def header():
    """name: (result kind, [parameter kinds])."""
    text = header_text()
    functions = {}
    for result, name, parameters in re.findall(r"ECC200_API\s+([\w *]+?)\s*ECC200_CALL\s+(\w+)\s*\(([^)]*)\)", text):
        named = [] if parameters.strip() == "void" else parameters.split(",")
        functions[name] = (c_kind(result), [c_kind(parameter_type(p)) for p in named])
    assert len(functions) == len(re.findall(r"^ECC200_API ", text, re.M)), "a function the pattern does not read"
    return functions


def header_structs():
    """struct name: [(field, kind)]."""
    structs = {}
    for name, body in re.findall(r"typedef struct (\w+) \{(.*?)\} \1;", header_text(), re.S):
        fields = []
        for declaration in filter(None, (d.strip() for d in body.split(";"))):
            array = re.fullmatch(r"(.*?)\[(\d+)\]", declaration)
            field_type = parameter_type(array.group(1) if array else declaration)
            field = re.search(r"(\w+)$", array.group(1) if array else declaration).group(1)
            fields.append((field, f"{c_kind(field_type)}[{array.group(2)}]" if array else c_kind(field_type)))
        structs[name] = fields
    return structs


PYTHON_STRUCTS = {_native.EncodeOptions: "ecc200_encode_options", _native.Picture: "ecc200_picture",
                  _native.Diagnostic: "ecc200_diagnostic", _native.Segment: "ecc200_segment",
                  _native.Layout: "ecc200_layout", _native.SymbolHandle: "ecc200_symbol"}
PYTHON_SCALARS = {None: "void", ctypes.c_int32: "i32", ctypes.c_uint32: "u32", ctypes.c_uint8: "u8",
                  ctypes.c_char: "char", ctypes.c_double: "f64", ctypes.c_size_t: "size", ctypes.c_char_p: "string",
                  ctypes.c_void_p: "ptr(void)"}


def python_kind(ctype):
    if ctype in PYTHON_SCALARS:
        return PYTHON_SCALARS[ctype]
    if ctype in PYTHON_STRUCTS:
        return PYTHON_STRUCTS[ctype]
    if issubclass(ctype, ctypes._Pointer):
        return f"ptr({python_kind(ctype._type_)})"
    if issubclass(ctype, ctypes.Array):
        return f"{python_kind(ctype._type_)}[{ctype._length_}]"
    if issubclass(ctype, ctypes._CFuncPtr):
        return f"fn({python_kind(ctype._restype_)}: {', '.join(map(python_kind, ctype._argtypes_))})"
    raise AssertionError(f"no C type known for {ctype}")


def python():
    return {name: (python_kind(result), [python_kind(t) for t in parameters])
            for name, (result, parameters) in _native.PROTOTYPES.items()}


def test_python_declares_every_function_and_struct_exactly():
    assert python() == header()
    structs = header_structs()
    assert set(structs) == set(PYTHON_STRUCTS.values()) - {"ecc200_symbol"}
    for struct, name in PYTHON_STRUCTS.items():
        assert [(field, python_kind(ctype)) for field, ctype in getattr(struct, "_fields_", [])] == \
            structs.get(name, []), name


# The other bindings name the kinds coarsely: which of them each type may
# carry. Pointers to the library's structs and to bytes are opaque there.
def coarse(kind):
    if kind.startswith("ptr(ptr("):
        return "ref ptr"
    if kind == "ptr(void)":
        return "data"
    return "ptr" if kind.startswith("ptr(") else kind


CSHARP_KINDS = {"void": {"void"}, "int": {"i32"}, "double": {"f64"}, "byte": {"u8"}, "byte[]": {"string", "data"},
                "string": {"string"}, "IntPtr": {"ptr", "data", "string"}, "out IntPtr": {"ref ptr"},
                "UIntPtr": {"size"}}
VBA7_KINDS = {"": {"void"}, "Long": {"i32"}, "Double": {"f64"}, "Byte": {"u8"}, "String": {"string", "data"},
              "LongPtr": {"ptr", "data", "string", "size"}, "ByRef LongPtr": {"ref ptr"}}
# VBA 6 is 32-bit only: pointers and size_t are 32-bit Long.
VBA6_KINDS = {**VBA7_KINDS, "Long": {"i32", "ptr", "data", "string", "size"}, "ByRef Long": {"ref ptr"}}
DELPHI_KINDS = {"": {"void"}, "Integer": {"i32"}, "Double": {"f64"}, "Byte": {"u8"}, "PAnsiChar": {"string", "data"},
                "Pointer": {"ptr", "data"}, "out Pointer": {"ref ptr"}, "NativeUInt": {"size"}}


def vba(branch):
    """The Declare lines of one branch of #If VBA7 (PtrSafe) / #Else."""
    text = (ROOT / "bindings/vba/ecc200.bas").read_text()
    text = re.search(r"#If VBA7 Then(.*?)#Else(.*?)#End If", text, re.S).group(1 if branch == "VBA7" else 2)
    safe = "PtrSafe " if branch == "VBA7" else ""
    pattern = rf'Public Declare {safe}(Sub|Function) ((?:DM|ecc200_)\w+) Lib "ecc200.dll" \(([^)]*)\)(?: As (\w+))?\r?$'
    functions = {}
    for kind, name, parameters, result in re.findall(pattern, text, re.M):
        assert (kind == "Sub") == (result == ""), name
        passing = [re.fullmatch(r"(ByVal|ByRef) \w+ As (\w+)", p.strip()) for p in parameters.split(",") if p.strip()]
        assert all(passing), f"{name}: every parameter goes ByVal or ByRef"
        types = [("ByRef " if match.group(1) == "ByRef" else "") + match.group(2) for match in passing]
        functions[name] = (result, types)
    assert len(functions) == len(re.findall(r"Declare.*\b(?:DM|ecc200_)\w+", text)), "a declaration not read"
    return functions


def delphi():
    text = (ROOT / "bindings/delphi/Ecc200.pas").read_text()
    pattern = r"^(procedure|function) ((?:DM|ecc200_)\w+)(?:\(([^)]*)\))?(?:: (\w+))?; stdcall; external Ecc200Library;$"
    functions = {}
    for kind, name, parameters, result in re.findall(pattern, text, re.M):
        assert (kind == "procedure") == (result == ""), name
        types = []
        for group in filter(None, (g.strip() for g in parameters.split(";"))):
            names, type_name = group.split(":")
            mode = "out " if names.startswith("out ") else ""
            types += [mode + type_name.strip()] * len(names.split(","))
        functions[name] = (result, types)
    assert len(functions) == len(re.findall(r"^(?:procedure|function) (?:DM|ecc200_)", text, re.M))
    return functions


def csharp():
    text = (ROOT / "bindings/csharp/Ecc200.cs").read_text()
    pattern = r"\[DllImport\(Library, CallingConvention = CallingConvention\.StdCall[^\]]*\]\s*" \
              r"public static extern (\S+) ((?:DM|ecc200_)\w+)\(([^)]*)\);"
    functions = {}
    for result, name, parameters in re.findall(pattern, text):
        types = [p.strip().rsplit(" ", 1)[0] for p in parameters.split(",") if p.strip()]
        functions[name] = (result, types)
    assert len(functions) == text.count("static extern"), "a declaration that is not StdCall or not read"
    return functions


@pytest.mark.parametrize("read, kinds", [(lambda: vba("VBA7"), VBA7_KINDS), (lambda: vba("Else"), VBA6_KINDS),
                                         (delphi, DELPHI_KINDS), (csharp, CSHARP_KINDS)],
                         ids=["vba7", "vba6", "delphi", "csharp"])
def test_declarations_match_the_header(read, kinds):
    declared, expected = read(), header()
    assert LEGACY | COMMON <= set(declared) <= set(expected)
    for name, (result, parameters) in declared.items():
        wanted_result, wanted_parameters = expected[name]
        assert coarse(wanted_result) in kinds[result], f"{name} returns {result}, not {wanted_result}"
        assert len(parameters) == len(wanted_parameters), name
        for given, wanted in zip(parameters, wanted_parameters):
            assert coarse(wanted) in kinds[given], f"{name}: {given} for {wanted}"
