#!/usr/bin/env python3
"""Reports parameters and local variables that hide a member of their class.

gcc's -Wshadow leaves out static member functions, where the engine's compiler still reports a name that
hides a class member (C4458) and the engine's build treats it as an error. This reads the syntax tree of
each given translation unit with libclang and reports every parameter or local variable, declared in a
member function (static or not) of a class defined under --source-root, whose name is that of a data
member of the class or of one of its bases.

Usage: check_hidden_members.py --source-root DIR [--stamp FILE] TU.cpp... -- <compiler arguments>
Exit status 1 when anything is reported or a translation unit does not parse.
"""
import argparse
import glob
import os
import sys

import clang.cindex as ci

LIBCLANG_CANDIDATES = [
    "/usr/lib/x86_64-linux-gnu/libclang-14.so.1",
    "/usr/lib/llvm-14/lib/libclang.so.1",
]

FUNCTION_KINDS = {
    ci.CursorKind.CXX_METHOD,
    ci.CursorKind.CONSTRUCTOR,
    ci.CursorKind.DESTRUCTOR,
    ci.CursorKind.CONVERSION_FUNCTION,
    ci.CursorKind.FUNCTION_TEMPLATE,
}
CLASS_KINDS = {
    ci.CursorKind.CLASS_DECL,
    ci.CursorKind.STRUCT_DECL,
    ci.CursorKind.CLASS_TEMPLATE,
    ci.CursorKind.UNION_DECL,
}


def member_names(cls, seen=None):
    """Data members (static included) of a class and of its bases."""
    seen = seen if seen is not None else set()
    key = cls.get_usr() or cls.spelling
    if key in seen:
        return set()
    seen.add(key)
    names = set()
    for child in cls.get_children():
        kind = kind_of(child)
        if kind == ci.CursorKind.FIELD_DECL or (kind == ci.CursorKind.VAR_DECL and child.semantic_parent == cls):
            if child.spelling:
                names.add(child.spelling)
        elif kind == ci.CursorKind.CXX_BASE_SPECIFIER:
            base = child.referenced or child.type.get_declaration()
            if base is not None and kind_of(base) in CLASS_KINDS:
                definition = base.get_definition() or base
                names |= member_names(definition, seen)
    return names


def declarations_in(function):
    """Parameters and local variables of a function body, lambdas included."""
    stack = list(function.get_children())
    while stack:
        node = stack.pop()
        if kind_of(node) in (ci.CursorKind.PARM_DECL, ci.CursorKind.VAR_DECL):
            yield node
        stack.extend(node.get_children())


def kind_of(node):
    try:
        return node.kind
    except ValueError:  # a kind newer than these bindings know
        return None


def in_sources(node, source_root):
    location = node.location
    return location.file is not None and os.path.realpath(location.file.name).startswith(source_root)


def our_functions(node, source_root):
    """Member function definitions in files under source_root; other files are not descended into."""
    for child in node.get_children():
        if not in_sources(child, source_root):
            continue
        kind = kind_of(child)
        if kind in FUNCTION_KINDS and child.is_definition():
            yield child
        elif kind in CLASS_KINDS or kind in (ci.CursorKind.NAMESPACE, ci.CursorKind.LINKAGE_SPEC):
            yield from our_functions(child, source_root)


def check(tu, source_root, findings, checked):
    for node in our_functions(tu.cursor, source_root):
        cls = node.semantic_parent
        if cls is None or kind_of(cls) not in CLASS_KINDS:
            continue
        location = node.location
        key = (location.file.name, location.line, location.column)
        if key in checked:
            continue
        checked.add(key)
        definition = cls.get_definition() or cls
        members = member_names(definition)
        if not members:
            continue
        for decl in declarations_in(node):
            if decl.spelling in members and decl.semantic_parent != cls:
                where = decl.location
                findings.add(
                    f"{where.file.name}:{where.line}:{where.column}: '{decl.spelling}' hides a member of "
                    f"'{definition.spelling}' (in {cls.spelling}::{node.spelling})"
                )


def main():
    argv = sys.argv[1:]
    if "--" in argv:
        split = argv.index("--")
        argv, compiler_args = argv[:split], argv[split + 1 :]
    else:
        compiler_args = []
    parser = argparse.ArgumentParser()
    parser.add_argument("--source-root", required=True)
    parser.add_argument("--stamp")
    parser.add_argument("units", nargs="+")
    args = parser.parse_args(argv)

    for candidate in LIBCLANG_CANDIDATES:
        if os.path.exists(candidate):
            ci.Config.set_library_file(candidate)
            break

    if not any(arg.startswith("-resource-dir") for arg in compiler_args):
        # libclang does not find its own headers (intrinsics) unless told where they are.
        resource_dirs = sorted(glob.glob("/usr/lib/llvm-14/lib/clang/*/include"))
        if resource_dirs:
            compiler_args = ["-resource-dir", os.path.dirname(resource_dirs[-1])] + compiler_args

    source_root = os.path.realpath(args.source_root)
    index = ci.Index.create()
    findings = set()
    checked = set()
    failed = False
    for unit in args.units:
        tu = index.parse(unit, args=compiler_args)
        errors = [d for d in tu.diagnostics if d.severity >= ci.Diagnostic.Error]
        for diagnostic in errors[:20]:
            print(f"{unit}: {diagnostic}", file=sys.stderr)
        if errors:
            failed = True
            continue
        check(tu, source_root, findings, checked)

    for finding in sorted(findings):
        print(finding, file=sys.stderr)
    if findings or failed:
        return 1
    if args.stamp:
        with open(args.stamp, "w") as stamp:
            stamp.write("ok\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
