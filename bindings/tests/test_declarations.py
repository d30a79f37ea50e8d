# Every binding declares exactly the functions of include/ecc200.h, each
# parameter and result of the type the header gives, so that a change of the
# header that is not carried over to a binding fails here. The VBA and Delphi
# declarations cannot run on this machine; C# and Python also run elsewhere.
import ctypes
import pathlib
import re

import pytest

from ecc200 import _native

ROOT = pathlib.Path(__file__).resolve().parents[2]
C_TYPES = {"void": None, "int": "int", "double": "double", "const char *": "string", "unsigned char": "byte"}


def header():
    text = re.sub(r"/\*.*?\*/", "", (ROOT / "include/ecc200.h").read_text(), flags=re.S)
    functions = {}
    for result, name, parameters in re.findall(r"ECC200_API\s+([\w ]+?)\s+ECC200_CALL\s+(\w+)\s*\(([^)]*)\)", text):
        named = [] if parameters.strip() == "void" else parameters.split(",")
        types = [re.sub(r"\s*\*\s*", " *", re.sub(r"\s*\w+$", "", p.strip())) for p in named]
        functions[name] = (C_TYPES[result], [C_TYPES[t] for t in types])
    assert len(functions) == len(re.findall(r"\bDM\w+\s*\(", text)), "a function the pattern does not read"
    return functions


def vba(branch):
    """The Declare lines of one branch of #If VBA7 (PtrSafe) / #Else."""
    text = (ROOT / "bindings/vba/ecc200.bas").read_text()
    text = re.search(r"#If VBA7 Then(.*)#Else(.*)#End If", text, re.S).group(1 if branch == "VBA7" else 2)
    kinds = {"": None, "Long": "int", "Double": "double", "String": "string", "Byte": "byte"}
    safe = "PtrSafe " if branch == "VBA7" else ""
    pattern = rf'Public Declare {safe}(Sub|Function) (DM\w+) Lib "ecc200.dll" \(([^)]*)\)(?: As (\w+))?\r?$'
    functions = {}
    for kind, name, parameters, result in re.findall(pattern, text, re.M):
        assert (kind == "Sub") == (result == ""), name
        byval = [re.fullmatch(r"ByVal \w+ As (\w+)", p.strip()) for p in parameters.split(",") if p.strip()]
        assert all(byval), f"{name}: every parameter goes ByVal"
        types = [match.group(1) for match in byval]
        functions[name] = (kinds.get(result, result), [kinds.get(t, t) for t in types])
    assert len(functions) == len(re.findall(r"Declare.*\bDM\w+", text)), "a declaration the pattern does not read"
    return functions


def delphi():
    text = (ROOT / "bindings/delphi/Ecc200.pas").read_text()
    kinds = {"": None, "Integer": "int", "Double": "double", "PAnsiChar": "string", "Byte": "byte"}
    pattern = r"^(procedure|function) (DM\w+)(?:\(([^)]*)\))?(?:: (\w+))?; stdcall; external Ecc200Library;$"
    functions = {}
    for kind, name, parameters, result in re.findall(pattern, text, re.M):
        assert (kind == "procedure") == (result == ""), name
        types = []
        for group in filter(None, (g.strip() for g in parameters.split(";"))):
            names, type_name = group.split(":")
            types += [kinds.get(type_name.strip(), type_name.strip())] * len(names.split(","))
        functions[name] = (kinds.get(result, result), types)
    assert len(functions) == len(re.findall(r"^(?:procedure|function) DM", text, re.M))
    return functions


def csharp():
    text = (ROOT / "bindings/csharp/Ecc200.cs").read_text()
    kinds = {"void": None, "int": "int", "double": "double", "byte[]": "string", "string": "string", "byte": "byte"}
    pattern = r"\[DllImport\(Library, CallingConvention = CallingConvention\.StdCall[^\]]*\]\s*" \
              r"public static extern (\S+) (DM\w+)\(([^)]*)\);"
    functions = {}
    for result, name, parameters in re.findall(pattern, text):
        types = [p.strip().rsplit(" ", 1)[0] for p in parameters.split(",") if p.strip()]
        functions[name] = (kinds.get(result, result), [kinds.get(t, t) for t in types])
    assert len(functions) == text.count("static extern"), "a declaration that is not StdCall or not read"
    return functions


def python():
    kinds = {None: None, ctypes.c_int: "int", ctypes.c_double: "double", ctypes.c_char_p: "string",
             ctypes.c_ubyte: "byte"}
    return {name: (kinds.get(result, result), [kinds.get(t, t) for t in parameters])
            for name, (result, parameters) in _native.PROTOTYPES.items()}


@pytest.mark.parametrize("read", [lambda: vba("VBA7"), lambda: vba("Else"), delphi, csharp, python],
                         ids=["vba7", "vba6", "delphi", "csharp", "python"])
def test_declarations_match_the_header(read):
    assert read() == header()
