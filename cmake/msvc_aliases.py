#!/usr/bin/env python3
"""Writes the DLL's second set of names, those a Visual Studio caller links against.

The public header is read twice by clang: once for the MSVC target, once for MinGW. Each
run names every declaration as that compiler decorates it; the two lists are paired by
their demangled signatures, so nothing here knows a member by name.

Writes two module-definition files:
  --link-def    for ld: each MSVC name as an alias of the GCC name the library defines
  --import-def  for llvm-dlltool: the names an MSVC caller imports, for its .lib
With --ordinals LIST ("ordinal name" lines, the committed export table), every listed
export keeps its ordinal in the link .def, so a new export never shifts the old ones; a name
missing from the list gets whatever ordinal ld gives it, and the export check then fails.
Usage: msvc_aliases.py --arch x86|x64 --header H --link-def OUT --import-def OUT [--ordinals LIST]
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile

TARGETS = {
    "x86": ("i686-pc-windows-msvc", "i686-w64-mingw32"),
    "x64": ("x86_64-pc-windows-msvc", "x86_64-w64-mingw32"),
}
# MSVC callers expect a constructor to return `this`; GCC's returns nothing. The library
# defines this adapter (src/entry/msvc_constructor.cpp) for the MSVC constructor name.
CONSTRUCTOR_ADAPTER = "ZiConstructForMsvc"


def declarations(clang, target, header):
    """(mangled name, is data) for every declaration the header makes itself."""
    dump = subprocess.run(
        [clang, "--target=" + target, "-x", "c++", "-fsyntax-only", "-Xclang", "-ast-dump=json", header],
        check=True, capture_output=True, text=True).stdout
    found = []

    def walk(node):
        if node.get("isImplicit"):
            return  # implicit members (the copy constructor) are inline, never exported
        name = node.get("mangledName")
        if name and node.get("kind") in ("CXXMethodDecl", "CXXConstructorDecl", "CXXDestructorDecl",
                                         "FunctionDecl", "VarDecl"):
            found.append((name, node["kind"] == "VarDecl"))
        for child in node.get("inner", []):
            walk(child)

    walk(json.loads(dump))
    return found


def destructor_called(clang, target, header, complete_name):
    """The destructor name a caller of this class's destructor refers to."""
    cls = complete_name[4:].split("@@")[0]
    probe = '#include "%s"\nvoid probe(%s *p) { p->~%s(); }\n' % (header, cls, cls)
    with tempfile.TemporaryDirectory() as tmp:
        obj = os.path.join(tmp, "probe.o")
        subprocess.run([clang, "--target=" + target, "-x", "c++", "-c", "-", "-o", obj],
                       input=probe, check=True, text=True)
        symbols = subprocess.run(["llvm-nm-14", "--undefined-only", "--just-symbol-name", obj],
                                 check=True, capture_output=True, text=True).stdout.split()
    called = [name.replace("__imp_", "", 1) for name in symbols if "??1" + cls + "@@" in name]
    if len(called) != 1:
        sys.exit("msvc_aliases: cannot find the destructor of " + cls + " in " + str(symbols))
    return called[0]


def demangle(tool, names):
    out = subprocess.run([tool], input="\n".join(names) + "\n", check=True, capture_output=True,
                         text=True).stdout
    lines = out.splitlines()
    if tool.endswith(("undname", "undname-14")):
        # llvm-undname answers each name with three lines: the name, its reading, a blank.
        lines = [line for i, line in enumerate(lines) if i % 3 == 1]
    return lines


def signature(text):
    """'CInterstitial::PlaceBitmap(HWND__*,char*,tagPOINT*)' from either demangler's words."""
    for word in ("class ", "struct ", " __ptr64", "__ptr64"):
        text = text.replace(word, "")
    head, paren, args = text.partition("(")
    name = head.split()[-1]
    args = args.rsplit(")", 1)[0].replace(" ", "") if paren else None
    return name if args is None else "%s(%s)" % (name, "" if args == "void" else args)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--arch", choices=TARGETS, required=True)
    parser.add_argument("--header", required=True)
    parser.add_argument("--link-def", required=True)
    parser.add_argument("--import-def", required=True)
    parser.add_argument("--ordinals")
    parser.add_argument("--clang", default="clang++-14")
    parser.add_argument("--cxxfilt", default="llvm-cxxfilt-14")
    parser.add_argument("--undname", default="llvm-undname-14")
    args = parser.parse_args()
    msvc_target, mingw_target = TARGETS[args.arch]

    # 32-bit names carry the C prefix "_", which neither .def file spells.
    def plain(name):
        return name[1:] if args.arch == "x86" and name.startswith("_") else name

    msvc = declarations(args.clang, msvc_target, args.header)
    mingw = [(plain(n), data) for n, data in declarations(args.clang, mingw_target, args.header)]
    # The dump names a destructor by its complete-object variant (??_D); without virtual
    # bases callers call the base destructor (??1): ask the compiler for that name.
    msvc = [(destructor_called(args.clang, msvc_target, args.header, n) if n.startswith("??_D") else n,
             data) for n, data in msvc]

    msvc_cpp = [(n, d) for n, d in msvc if n.startswith("?")]
    gcc_cpp = [(n, d) for n, d in mingw if n.startswith("_Z") or d]
    msvc_keys = [signature(s) for s in demangle(args.undname, [n for n, _ in msvc_cpp])]
    gcc_keys = [signature(s) for s in demangle(args.cxxfilt, [n for n, _ in gcc_cpp])]
    by_key = dict(zip(gcc_keys, gcc_cpp))
    if len(by_key) != len(gcc_cpp) or sorted(msvc_keys) != sorted(gcc_keys):
        sys.exit("msvc_aliases: the two compilers' declarations do not pair up:\n  %s\n  %s" %
                 (sorted(msvc_keys), sorted(gcc_keys)))

    ordinals = {}
    if args.ordinals:
        with open(args.ordinals) as table:
            for line in table:
                number, name = line.split()
                ordinals[name] = int(number)

    def pinned(name):
        return " @%d" % ordinals[name] if name in ordinals else ""

    link = ["EXPORTS"]
    imports = ["LIBRARY ZelInterstitial.dll", "EXPORTS"]
    for (name, data), key in sorted(zip(msvc_cpp, msvc_keys)):
        gcc_name = by_key[key][0]
        cls, _, rest = key.partition("::")
        if rest.startswith(cls + "("):
            if rest != cls + "()":
                sys.exit("msvc_aliases: no adapter for the constructor " + key)
            gcc_name = CONSTRUCTOR_ADAPTER
        link.append("    %s = %s%s%s" % (name, gcc_name, pinned(name), " DATA" if data else ""))
        imports.append("    %s%s" % (name, " DATA" if data else ""))
    # C functions keep one name in both ABIs; the import library spells the 32-bit stdcall
    # ones with their argument bytes (@N), which -k strips from the name looked up.
    for name, data in msvc:
        if not name.startswith("?"):
            imports.append("    %s%s" % (plain(name), " DATA" if data else ""))
    # The library's own names (C functions, GCC members) are exported by the compiler; listed
    # here only to keep their ordinals.
    aliases = {n for n, _ in msvc_cpp}
    for name in sorted(ordinals, key=ordinals.get):
        if name not in aliases:
            data = " DATA" if dict(mingw).get(name) else ""
            link.append("    %s%s%s" % (name, pinned(name), data))
    for path, lines in ((args.link_def, link), (args.import_def, imports)):
        with open(path, "w") as out:
            out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
