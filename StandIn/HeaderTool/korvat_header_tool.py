#!/usr/bin/env python3
"""Reflection header tool of the stand-in engine.

Reads C++ headers that declare reflected types with UCLASS, UINTERFACE, USTRUCT, UENUM, UFUNCTION,
UPROPERTY and DECLARE_DYNAMIC_*DELEGATE*, and writes for a module:

* one <Header>.generated.h per input header: the GENERATED_BODY expansion of every reflected type
  (keyed by file id and line, as the engine's header tool does), StaticEnum/StaticStruct
  declarations and the wrappers of dynamic delegates;
* one <Module>.init.gen.cpp: the registration code (classes, functions with their native thunks and
  parameter blocks, properties with offsets, enums, structs, delegate signatures and metadata).

Errors are reported as "file:line: error: message" on stderr and make the tool exit with status 1.
Only the Python standard library is used.
"""

from __future__ import annotations

import argparse
import os
import re
import sys
from dataclasses import dataclass, field
from typing import Dict, List, Optional, Tuple


class HeaderToolError(Exception):
    def __init__(self, path: str, line: int, message: str):
        super().__init__(f"{path}:{line}: error: {message}")
        self.path = path
        self.line = line
        self.message = message


# ----------------------------------------------------------------------------------------------
# Tokenizer
# ----------------------------------------------------------------------------------------------

@dataclass
class Token:
    kind: str    # 'id', 'num', 'str', 'chr', 'punct', 'doc'
    text: str
    line: int
    cond: Tuple[str, ...] = ()   # preprocessor conditions enclosing the token


_PUNCT3 = ("...", "<<=", ">>=", "->*")
_PUNCT2 = ("::", "->", "++", "--", "<<", "&&", "||", "==", "!=", "<=", ">=", "+=", "-=", "*=", "/=",
           "%=", "&=", "|=", "^=", ".*", "##")
_ID_START = re.compile(r"[A-Za-z_]")
_ID_BODY = re.compile(r"[A-Za-z0-9_]*")
_NUMBER = re.compile(r"(0[xX][0-9a-fA-F']+|[0-9][0-9']*\.?[0-9]*([eE][+-]?[0-9]+)?|\.[0-9]+([eE][+-]?[0-9]+)?)[uUlLfF]*")


class Tokenizer:
    """Splits a header into tokens. Preprocessor lines are consumed: conditional blocks are tracked
    so that generated code can be wrapped in the same conditions, '#if 0' blocks are skipped and
    include guards are recognised and ignored."""

    def __init__(self, path: str, text: str):
        self.path = path
        self.text = text
        self.pos = 0
        self.line = 1
        self.tokens: List[Token] = []
        # Each entry: [list of conditions of earlier branches, condition of current branch, skip]
        self.cond_stack: List[dict] = []
        self.generated_includes: List[str] = []

    def error(self, message: str, line: Optional[int] = None):
        raise HeaderToolError(self.path, line if line is not None else self.line, message)

    def current_conditions(self) -> Tuple[str, ...]:
        return tuple(entry["cond"] for entry in self.cond_stack if entry["cond"] is not None)

    def skipping(self) -> bool:
        return any(entry["skip"] for entry in self.cond_stack)

    def run(self) -> List[Token]:
        text = self.text
        n = len(text)
        at_line_start = True
        while self.pos < n:
            c = text[self.pos]
            if c == "\n":
                self.line += 1
                self.pos += 1
                at_line_start = True
                continue
            if c in " \t\r\f\v":
                self.pos += 1
                continue
            if c == "\\" and self.pos + 1 < n and text[self.pos + 1] == "\n":
                self.pos += 2
                self.line += 1
                continue
            if text.startswith("//", self.pos):
                end = text.find("\n", self.pos)
                self.pos = n if end < 0 else end
                continue
            if text.startswith("/*", self.pos):
                start_line = self.line
                end = text.find("*/", self.pos + 2)
                if end < 0:
                    self.error("unterminated comment", start_line)
                body = text[self.pos:end + 2]
                self.line += body.count("\n")
                self.pos = end + 2
                if body.startswith("/**") and body != "/**/" and not self.skipping():
                    self.tokens.append(Token("doc", body, start_line, self.current_conditions()))
                continue
            if c == "#" and at_line_start:
                self.preprocessor_line()
                continue
            at_line_start = False
            start_line = self.line
            if self.skipping():
                # Inside '#if 0': still step over strings so that quotes do not derail us.
                if c in "\"'":
                    self.read_quoted(c)
                else:
                    self.pos += 1
                continue
            if _ID_START.match(c):
                m = _ID_BODY.match(text, self.pos + 1)
                word = text[self.pos:m.end()]
                # String literal prefixes (L"", u8"", R"()")
                if m.end() < n and text[m.end()] in "\"'" and word in ("L", "u", "U", "u8", "R", "LR", "uR", "UR", "u8R"):
                    self.pos = m.end()
                    if word.endswith("R") and text[self.pos] == '"':
                        s = self.read_raw_string()
                    else:
                        s = self.read_quoted(text[self.pos])
                    self.tokens.append(Token("str" if s[0] != "'" else "chr", word + s, start_line, self.current_conditions()))
                    continue
                self.pos = m.end()
                self.tokens.append(Token("id", word, start_line, self.current_conditions()))
                continue
            if c.isdigit() or (c == "." and self.pos + 1 < n and text[self.pos + 1].isdigit()):
                m = _NUMBER.match(text, self.pos)
                self.pos = m.end()
                self.tokens.append(Token("num", m.group(0), start_line, self.current_conditions()))
                continue
            if c in "\"'":
                s = self.read_quoted(c)
                self.tokens.append(Token("str" if c == '"' else "chr", s, start_line, self.current_conditions()))
                continue
            for p in _PUNCT3 + _PUNCT2:
                if text.startswith(p, self.pos):
                    self.tokens.append(Token("punct", p, start_line, self.current_conditions()))
                    self.pos += len(p)
                    break
            else:
                self.tokens.append(Token("punct", c, start_line, self.current_conditions()))
                self.pos += 1
        if self.cond_stack:
            self.error("unterminated #if block")
        return self.tokens

    def read_quoted(self, quote: str) -> str:
        text = self.text
        start = self.pos
        start_line = self.line
        self.pos += 1
        while self.pos < len(text):
            c = text[self.pos]
            if c == "\\":
                self.pos += 2
                continue
            if c == "\n":
                self.error("unterminated string literal", start_line)
            self.pos += 1
            if c == quote:
                return text[start:self.pos]
        self.error("unterminated string literal", start_line)
        return ""

    def read_raw_string(self) -> str:
        text = self.text
        start = self.pos
        open_paren = text.find("(", self.pos)
        delim = text[self.pos + 1:open_paren]
        end = text.find(")" + delim + '"', open_paren)
        if open_paren < 0 or end < 0:
            self.error("unterminated raw string literal")
        self.pos = end + len(delim) + 2
        self.line += text[start:self.pos].count("\n")
        return text[start:self.pos]

    def preprocessor_line(self):
        text = self.text
        start_line = self.line
        # Gather the logical line (with continuations), dropping comments.
        out = []
        while self.pos < len(text):
            c = text[self.pos]
            if c == "\\" and self.pos + 1 < len(text) and text[self.pos + 1] == "\n":
                self.pos += 2
                self.line += 1
                out.append(" ")
                continue
            if c == "\n":
                break
            if text.startswith("//", self.pos):
                end = text.find("\n", self.pos)
                self.pos = len(text) if end < 0 else end
                break
            if text.startswith("/*", self.pos):
                end = text.find("*/", self.pos + 2)
                if end < 0:
                    self.error("unterminated comment", start_line)
                self.line += text[self.pos:end].count("\n")
                self.pos = end + 2
                out.append(" ")
                continue
            out.append(c)
            self.pos += 1
        directive_line = "".join(out).strip()[1:].strip()
        m = re.match(r"(\w+)\s*(.*)", directive_line)
        if not m:
            return
        directive, rest = m.group(1), m.group(2).strip()
        if directive == "include" and rest.endswith('.generated.h"'):
            self.generated_includes.append(rest.strip('"'))
            return
        if directive in ("if", "ifdef", "ifndef"):
            if directive == "ifdef":
                cond = f"defined({rest})"
            elif directive == "ifndef":
                cond = f"!defined({rest})"
                if self.is_include_guard(rest):
                    self.cond_stack.append({"cond": None, "prior": [], "skip": False, "guard": True})
                    return
            else:
                cond = rest
            skip = cond.strip() == "0"
            self.cond_stack.append({"cond": None if skip else f"({cond})", "prior": [f"({cond})"], "skip": skip, "guard": False})
        elif directive in ("elif", "else"):
            if not self.cond_stack:
                self.error(f"#{directive} without #if", start_line)
            entry = self.cond_stack[-1]
            negated = " && ".join(f"!{p}" for p in entry["prior"])
            if directive == "elif":
                entry["prior"].append(f"({rest})")
                entry["skip"] = rest.strip() == "0"
                entry["cond"] = None if entry["skip"] else f"({negated} && ({rest}))"
            else:
                was_zero = entry["prior"] == ["(0)"]
                entry["skip"] = False
                entry["cond"] = None if (entry.get("guard") or was_zero) else f"({negated})"
        elif directive == "endif":
            if not self.cond_stack:
                self.error("#endif without #if", start_line)
            self.cond_stack.pop()

    def is_include_guard(self, name: str) -> bool:
        # '#ifndef X' directly followed by '#define X' at the top of a header.
        if any(tok.kind != "doc" for tok in self.tokens) or self.cond_stack:
            return False
        following = self.text[self.pos:self.pos + 400]
        return re.match(r"\s*#\s*define\s+" + re.escape(name) + r"\b", following) is not None


# ----------------------------------------------------------------------------------------------
# Model
# ----------------------------------------------------------------------------------------------

@dataclass
class Param:
    name: str
    type_text: str          # as written, e.g. "const FString&"
    value_type: str         # stored type in the parameter block, e.g. "FString"
    flags: List[str]
    meta: Dict[str, str]
    default: Optional[str] = None


@dataclass
class Function:
    name: str
    line: int
    specifiers: Dict[str, Optional[str]]
    meta: Dict[str, str]
    params: List[Param]
    return_type: Optional[str]
    is_static: bool
    is_const: bool
    is_virtual: bool
    access: str
    cond: Tuple[str, ...]
    flags: List[str] = field(default_factory=list)


@dataclass
class Property:
    name: str
    line: int
    type_text: str
    specifiers: Dict[str, Optional[str]]
    meta: Dict[str, str]
    flags: List[str]
    access: str
    cond: Tuple[str, ...]
    bitfield: bool = False
    array_dim: Optional[str] = None


@dataclass
class EnumEntry:
    name: str
    meta: Dict[str, str]


@dataclass
class Enum:
    name: str
    line: int
    cpp_form: str           # 'EnumClass' or 'Regular'
    underlying: Optional[str]
    entries: List[EnumEntry]
    meta: Dict[str, str]
    specifiers: Dict[str, Optional[str]]
    body_line: int = 0


@dataclass
class Delegate:
    name: str
    line: int
    multicast: bool
    return_type: Optional[str]
    params: List[Param]
    macro: str


@dataclass
class Struct:
    kind: str               # 'class', 'interface', 'native_interface', 'struct'
    name: str
    line: int
    api: Optional[str]
    bases: List[str]
    specifiers: Dict[str, Optional[str]]
    meta: Dict[str, str]
    functions: List[Function] = field(default_factory=list)
    properties: List[Property] = field(default_factory=list)
    body_line: int = 0
    body_macro: str = "GENERATED_BODY"
    ctor_kinds: List[str] = field(default_factory=list)   # 'default', 'initializer', 'other'
    identifiers: set = field(default_factory=set)
    has_user_destructor: bool = False

    @property
    def super_name(self) -> Optional[str]:
        return self.bases[0] if self.bases else None

    @property
    def interfaces(self) -> List[str]:
        return [b for b in self.bases[1:] if re.match(r"I[A-Z]", b)]


@dataclass
class Header:
    path: str
    file_id: str
    classes: List[Struct] = field(default_factory=list)
    structs: List[Struct] = field(default_factory=list)
    enums: List[Enum] = field(default_factory=list)
    delegates: List[Delegate] = field(default_factory=list)
    native_interfaces: List[Struct] = field(default_factory=list)
    includes_generated: bool = False


# ----------------------------------------------------------------------------------------------
# Specifier tables (unknown specifiers are errors, as in the engine's tool)
# ----------------------------------------------------------------------------------------------

CLASS_SPECIFIERS = {
    "Abstract", "MinimalAPI", "Within", "Config", "DefaultConfig", "GlobalUserConfig", "ProjectUserConfig",
    "PerObjectConfig", "PerPlatformConfig", "ConfigDoNotCheckDefaults", "Blueprintable", "NotBlueprintable",
    "BlueprintType", "NotBlueprintType", "Transient", "NonTransient", "NotPlaceable", "Placeable", "ClassGroup",
    "HideCategories", "ShowCategories", "AutoExpandCategories", "AutoCollapseCategories",
    "DontAutoCollapseCategories", "CollapseCategories", "DontCollapseCategories", "PrioritizeCategories",
    "EditInlineNew", "NotEditInlineNew", "DefaultToInstanced", "Deprecated", "Const", "HideDropdown", "Hidden",
    "Intrinsic", "NoExport", "Experimental", "EarlyAccessPreview", "Optional", "ConversionRoot",
    "ComponentWrapperClass", "SparseClassDataType", "SparseClassDataTypes", "HideFunctions", "ShowFunctions",
    "AdvancedClassDisplay", "MatchedSerializers", "CustomConstructor", "CustomFieldNotify", "meta",
}
INTERFACE_SPECIFIERS = {"MinimalAPI", "Blueprintable", "NotBlueprintable", "BlueprintType", "ConversionRoot", "meta"}
STRUCT_SPECIFIERS = {"BlueprintType", "NotBlueprintType", "Atomic", "Immutable", "NoExport", "HasDefaults",
                     "HasNoOpConstructor", "IsAlwaysAccessible", "IsCoreType", "meta"}
ENUM_SPECIFIERS = {"BlueprintType", "Flags", "meta"}
FUNCTION_SPECIFIERS = {
    "BlueprintCallable", "BlueprintPure", "BlueprintImplementableEvent", "BlueprintNativeEvent",
    "BlueprintAuthorityOnly", "BlueprintCosmetic", "CallInEditor", "Category", "Client", "Server",
    "NetMulticast", "Reliable", "Unreliable", "WithValidation", "Exec", "SealedEvent", "CustomThunk",
    "BlueprintGetter", "BlueprintSetter", "ServiceRequest", "ServiceResponse", "FieldNotify", "Const",
    "BlueprintInternalUseOnly", "NetValidate", "meta",
}
PROPERTY_SPECIFIERS = {
    "EditAnywhere", "EditDefaultsOnly", "EditInstanceOnly", "VisibleAnywhere", "VisibleDefaultsOnly",
    "VisibleInstanceOnly", "BlueprintReadWrite", "BlueprintReadOnly", "EditConst", "Category", "Config",
    "GlobalConfig", "Transient", "DuplicateTransient", "NonPIEDuplicateTransient", "NonTransactional",
    "SaveGame", "Instanced", "Export", "NoClear", "Replicated", "ReplicatedUsing", "NotReplicated", "Interp",
    "AdvancedDisplay", "SimpleDisplay", "AssetRegistrySearchable", "BlueprintAssignable", "BlueprintCallable",
    "BlueprintAuthorityOnly", "BlueprintGetter", "BlueprintSetter", "EditFixedSize", "TextExportTransient",
    "SkipSerialization", "RepRetry", "Localized", "FieldNotify", "Getter", "Setter", "meta",
}
PARAM_SPECIFIERS = {"ref", "Const", "DisplayName", "meta", "NotReplicated", "Required"}

# Specifiers whose value is recorded as metadata of the same name.
SPECIFIER_METADATA = {"Category", "BlueprintGetter", "BlueprintSetter", "ReplicatedUsing"}


# ----------------------------------------------------------------------------------------------
# Parser
# ----------------------------------------------------------------------------------------------

def join_tokens(tokens: List[Token]) -> str:
    """Spells a token run as C++ type text: 'const FString&', 'TMap<FString, int32>', 'UObject*'."""
    out = ""
    prev = None
    for tok in tokens:
        t = tok.text
        if prev is not None:
            need_space = False
            if (prev.kind in ("id", "num") and tok.kind in ("id", "num")):
                need_space = True
            elif prev.text == "," :
                need_space = True
            elif prev.text in ("*", "&", "&&") and tok.kind == "id" and tok.text in ("const", "volatile"):
                need_space = True
            elif prev.text == ">" and tok.kind == "id":
                need_space = True
            if need_space:
                out += " "
        out += t
        prev = tok
    return out


def clean_doc_comment(raw: str) -> str:
    """Turns a /** */ comment into tooltip text: markers and leading asterisks removed, lines trimmed."""
    body = raw[3:-2] if raw.endswith("*/") else raw[3:]
    lines = []
    for line in body.split("\n"):
        line = line.strip()
        while line.startswith("*"):
            line = line[1:]
        lines.append(line.strip())
    while lines and not lines[0]:
        lines.pop(0)
    while lines and not lines[-1]:
        lines.pop()
    return "\n".join(lines)


def unquote(tokens: List[Token]) -> str:
    """Value of a specifier or metadata entry: string literals are unescaped and concatenated,
    anything else is spelled as written."""
    if tokens and all(t.kind == "str" for t in tokens):
        parts = []
        for t in tokens:
            s = t.text
            if s.startswith(("L\"", "u\"", "U\"")):
                s = s[1:]
            elif s.startswith("TEXT"):
                s = s[4:]
            parts.append(bytes(s[1:-1], "utf-8").decode("unicode_escape").encode("latin-1").decode("utf-8")
                         if "\\" in s else s[1:-1])
        return "".join(parts)
    if len(tokens) >= 3 and tokens[0].text == "(" and tokens[-1].text == ")":
        return unquote(tokens[1:-1])
    return join_tokens(tokens)


class Parser:
    def __init__(self, path: str, text: str, module: str, include_roots: List[str]):
        self.path = path
        self.module = module
        tokenizer = Tokenizer(path, text)
        self.tokens = tokenizer.run()
        self.i = 0
        self.header = Header(path=path, file_id=self.make_file_id(path, include_roots))
        self.pending_doc: Optional[Token] = None
        expected = os.path.splitext(os.path.basename(path))[0] + ".generated.h"
        self.header.includes_generated = any(os.path.basename(g) == expected for g in tokenizer.generated_includes)

    @staticmethod
    def make_file_id(path: str, include_roots: List[str]) -> str:
        rel = os.path.basename(path)
        for root in include_roots:
            try:
                candidate = os.path.relpath(path, root)
            except ValueError:
                continue
            if not candidate.startswith(".."):
                rel = candidate
                break
        return "FID_" + re.sub(r"[^A-Za-z0-9]", "_", rel)

    # -- token helpers -------------------------------------------------------------------------

    def error(self, message: str, tok: Optional[Token] = None):
        if tok is None:
            tok = self.tokens[self.i] if self.i < len(self.tokens) else (self.tokens[-1] if self.tokens else Token("punct", "", 1))
        raise HeaderToolError(self.path, tok.line, message)

    def peek(self, offset: int = 0) -> Optional[Token]:
        j = self.i + offset
        while j < len(self.tokens) and self.tokens[j].kind == "doc":
            j += 1
            offset += 1
        return self.tokens[j] if j < len(self.tokens) else None

    def next(self) -> Token:
        while self.i < len(self.tokens) and self.tokens[self.i].kind == "doc":
            self.pending_doc = self.tokens[self.i]
            self.i += 1
        if self.i >= len(self.tokens):
            self.error("unexpected end of file")
        tok = self.tokens[self.i]
        self.i += 1
        return tok

    def expect(self, text: str, what: str = "") -> Token:
        tok = self.next()
        if tok.text != text:
            self.error(f"expected '{text}'{(' ' + what) if what else ''} but found '{tok.text}'", tok)
        return tok

    def expect_id(self, what: str) -> Token:
        tok = self.next()
        if tok.kind != "id":
            self.error(f"expected {what} but found '{tok.text}'", tok)
        return tok

    def take_doc(self) -> Optional[str]:
        doc = self.pending_doc
        self.pending_doc = None
        return clean_doc_comment(doc.text) if doc else None

    def balanced(self, open_text: str, close_text: str) -> List[Token]:
        """Reads a balanced group whose opening token was just consumed; returns the inner tokens."""
        depth = 1
        out = []
        start = self.tokens[self.i - 1]
        while True:
            if self.i >= len(self.tokens):
                self.error(f"missing '{close_text}' for '{open_text}' opened here", start)
            tok = self.tokens[self.i]
            self.i += 1
            if tok.kind == "doc":
                continue
            if tok.text == open_text:
                depth += 1
            elif tok.text == close_text:
                depth -= 1
                if depth == 0:
                    return out
            out.append(tok)

    @staticmethod
    def split_top_level(tokens: List[Token], sep: str = ",") -> List[List[Token]]:
        parts: List[List[Token]] = [[]]
        depth = 0
        angle = 0
        for tok in tokens:
            if tok.text in ("(", "[", "{"):
                depth += 1
            elif tok.text in (")", "]", "}"):
                depth -= 1
            elif tok.text == "<" and depth == 0:
                angle += 1
            elif tok.text == ">" and depth == 0 and angle > 0:
                angle -= 1
            if tok.text == sep and depth == 0 and angle == 0:
                parts.append([])
            else:
                parts[-1].append(tok)
        if parts == [[]]:
            return []
        return parts

    # -- specifiers -----------------------------------------------------------------------------

    def parse_specifiers(self, macro: Token, allowed: set) -> Tuple[Dict[str, Optional[str]], Dict[str, str]]:
        self.expect("(", f"after {macro.text}")
        inner = self.balanced("(", ")")
        specifiers: Dict[str, Optional[str]] = {}
        meta: Dict[str, str] = {}
        for part in self.split_top_level(inner):
            if not part:
                self.error(f"empty specifier in {macro.text}", macro)
            key_tok = part[0]
            if key_tok.kind != "id":
                self.error(f"expected a specifier name in {macro.text} but found '{key_tok.text}'", key_tok)
            key = key_tok.text
            matched = next((a for a in allowed if a.lower() == key.lower()), None)
            if matched is None:
                self.error(f"Unknown {macro.text} specifier '{key}'", key_tok)
            value_tokens = part[1:]
            if matched == "meta":
                if not value_tokens or value_tokens[0].text != "=":
                    self.error("expected '=' after meta", key_tok)
                meta.update(self.parse_meta(value_tokens[1:], key_tok))
                continue
            if value_tokens:
                if value_tokens[0].text != "=":
                    self.error(f"unexpected '{value_tokens[0].text}' after specifier '{key}'", value_tokens[0])
                specifiers[matched] = unquote(value_tokens[1:])
            else:
                specifiers[matched] = None
        return specifiers, meta

    def parse_meta(self, tokens: List[Token], at: Token) -> Dict[str, str]:
        if not tokens or tokens[0].text != "(" or tokens[-1].text != ")":
            self.error("meta must be followed by a parenthesised list", at)
        meta: Dict[str, str] = {}
        for part in self.split_top_level(tokens[1:-1]):
            if not part:
                continue
            if part[0].kind != "id":
                self.error(f"expected a metadata key but found '{part[0].text}'", part[0])
            if len(part) == 1:
                meta[part[0].text] = ""
            elif part[1].text == "=":
                meta[part[0].text] = unquote(part[2:])
            else:
                self.error(f"expected '=' after metadata key '{part[0].text}'", part[1])
        return meta

    # -- top level ------------------------------------------------------------------------------

    def parse(self) -> Header:
        while self.i < len(self.tokens):
            tok = self.tokens[self.i]
            if tok.kind == "doc":
                self.pending_doc = tok
                self.i += 1
                continue
            if tok.kind == "id":
                if tok.text in ("UCLASS", "UINTERFACE"):
                    self.i += 1
                    self.parse_class(tok)
                    continue
                if tok.text == "USTRUCT":
                    self.i += 1
                    self.parse_struct(tok)
                    continue
                if tok.text == "UENUM":
                    self.i += 1
                    self.parse_enum(tok)
                    continue
                if tok.text.startswith("DECLARE_DYNAMIC_"):
                    self.i += 1
                    self.parse_delegate(tok)
                    continue
                if tok.text in ("UFUNCTION", "UPROPERTY"):
                    self.error(f"{tok.text} must be inside a UCLASS, UINTERFACE or USTRUCT", tok)
                if tok.text in ("GENERATED_BODY", "GENERATED_UCLASS_BODY", "GENERATED_USTRUCT_BODY",
                                "GENERATED_UINTERFACE_BODY", "GENERATED_IINTERFACE_BODY"):
                    self.i += 1
                    if self.try_native_interface(tok):
                        continue
                    self.error(f"{tok.text} outside a reflected type", tok)
                if tok.text == "class" and self.looks_like_native_interface():
                    self.i += 1
                    self.parse_native_interface(tok)
                    continue
            self.pending_doc = None if tok.kind != "doc" else self.pending_doc
            self.i += 1
        self.check_generated_include()
        return self.header

    def check_generated_include(self):
        has_types = (self.header.classes or self.header.structs or self.header.enums or self.header.delegates
                     or self.header.native_interfaces)
        if has_types and not self.header.includes_generated:
            first = (self.header.classes + self.header.structs + self.header.enums + self.header.delegates)[0]
            raise HeaderToolError(self.path, first.line,
                                  f'reflected types need #include "{os.path.splitext(os.path.basename(self.path))[0]}.generated.h"')

    def looks_like_native_interface(self) -> bool:
        # class [API] IName [: bases] { GENERATED_BODY / GENERATED_IINTERFACE_BODY
        j = self.i + 1
        names = []
        while j < len(self.tokens) and self.tokens[j].kind == "id":
            names.append(self.tokens[j].text)
            j += 1
        if not names or not re.match(r"I[A-Z]", names[-1]):
            return False
        depth = 0
        while j < len(self.tokens):
            t = self.tokens[j].text
            if t == ";" and depth == 0:
                return False
            if t == "{":
                nxt = j + 1
                while nxt < len(self.tokens) and self.tokens[nxt].kind == "doc":
                    nxt += 1
                return nxt < len(self.tokens) and self.tokens[nxt].text in ("GENERATED_BODY", "GENERATED_IINTERFACE_BODY", "GENERATED_UINTERFACE_BODY")
            j += 1
        return False

    def try_native_interface(self, tok: Token) -> bool:
        return False

    def class_head(self, keyword_text: str, macro: Token) -> Tuple[Optional[str], str, List[str]]:
        kw = self.next()
        if kw.text != keyword_text and not (keyword_text == "struct" and kw.text == "class"):
            self.error(f"expected '{keyword_text}' after {macro.text} but found '{kw.text}'", kw)
        words = []
        while True:
            tok = self.peek()
            if tok is None:
                self.error("unexpected end of file")
            if tok.kind == "id" and tok.text not in ("final",):
                words.append(self.next())
                continue
            if tok.text == "final":
                self.next()
                continue
            break
        if not words:
            self.error(f"expected a type name after {macro.text}", kw)
        api = None
        for w in words[:-1]:
            if w.text.endswith("_API"):
                api = w.text
        name = words[-1].text
        bases: List[str] = []
        if self.peek().text == ":":
            self.next()
            base_tokens = []
            while self.peek().text != "{":
                if self.peek().text == ";":
                    self.error(f"{macro.text} type must be defined, not only declared", self.peek())
                base_tokens.append(self.next())
            for part in self.split_top_level(base_tokens):
                words = [t for t in part if t.text not in ("public", "protected", "private", "virtual")]
                bases.append(join_tokens(words))
        if self.peek().text != "{":
            self.error(f"expected '{{' after the declaration of {name}", self.peek())
        self.next()
        return api, name, bases

    def parse_class(self, macro: Token):
        doc = self.take_doc()
        is_interface = macro.text == "UINTERFACE"
        specifiers, meta = self.parse_specifiers(macro, INTERFACE_SPECIFIERS if is_interface else CLASS_SPECIFIERS)
        if doc and "ToolTip" not in meta:
            meta["ToolTip"] = doc
        api, name, bases = self.class_head("class", macro)
        if not re.match(r"[UA][A-Z0-9_]", name):
            self.error(f"Class '{name}' must have a 'U' or 'A' prefix", macro)
        if not bases:
            self.error(f"Class '{name}' must derive from UObject or one of its subclasses", macro)
        if is_interface and not name.startswith("U"):
            self.error(f"Interface '{name}' must have a 'U' prefix", macro)
        cls = Struct("interface" if is_interface else "class", name, macro.line, api, bases, specifiers, meta)
        self.parse_body(cls)
        self.header.classes.append(cls)

    def parse_native_interface(self, kw: Token):
        self.i -= 1
        api, name, bases = self.class_head("class", kw)
        cls = Struct("native_interface", name, kw.line, api, bases, {}, {})
        self.parse_body(cls)
        self.header.native_interfaces.append(cls)

    def parse_struct(self, macro: Token):
        doc = self.take_doc()
        specifiers, meta = self.parse_specifiers(macro, STRUCT_SPECIFIERS)
        if doc and "ToolTip" not in meta:
            meta["ToolTip"] = doc
        api, name, bases = self.class_head("struct", macro)
        if not name.startswith("F"):
            self.error(f"Struct '{name}' must have an 'F' prefix", macro)
        st = Struct("struct", name, macro.line, api, bases, specifiers, meta)
        self.parse_body(st)
        self.header.structs.append(st)

    # -- class / struct bodies ------------------------------------------------------------------

    def parse_body(self, cls: Struct):
        access = "private" if cls.kind in ("class", "interface", "native_interface") else "public"
        depth = 1
        self.pending_doc = None
        while True:
            if self.i >= len(self.tokens):
                self.error(f"missing '}}' at the end of {cls.name}", Token("punct", "", cls.line))
            tok = self.tokens[self.i]
            if tok.kind == "doc":
                self.pending_doc = tok
                self.i += 1
                continue
            self.i += 1
            if tok.text == "{":
                depth += 1
                continue
            if tok.text == "}":
                depth -= 1
                if depth == 0:
                    break
                continue
            if depth != 1:
                continue
            if tok.kind == "id":
                cls.identifiers.add(tok.text)
            if tok.text in ("public", "protected", "private") and self.peek() is not None and self.peek().text == ":":
                access = tok.text
                self.next()
                continue
            if tok.text in ("GENERATED_BODY", "GENERATED_UCLASS_BODY", "GENERATED_USTRUCT_BODY",
                            "GENERATED_UINTERFACE_BODY", "GENERATED_IINTERFACE_BODY"):
                if cls.body_line:
                    self.error(f"{cls.name} has more than one {tok.text}", tok)
                cls.body_line = tok.line
                cls.body_macro = tok.text
                self.expect("(", f"after {tok.text}")
                self.balanced("(", ")")
                if tok.text in ("GENERATED_UCLASS_BODY", "GENERATED_UINTERFACE_BODY"):
                    access = "public"
                elif cls.kind != "struct":
                    access = "private"
                continue
            if tok.text == "UFUNCTION":
                if cls.kind == "struct":
                    self.error("UFUNCTION is not allowed in a USTRUCT", tok)
                cls.functions.append(self.parse_function(tok, access, cls))
                continue
            if tok.text == "UPROPERTY":
                cls.properties.append(self.parse_property(tok, access, cls))
                continue
            if tok.text == "~" and self.peek() is not None and self.peek().text == cls.name:
                cls.has_user_destructor = True
                continue
            if tok.text == cls.name and self.peek() is not None and self.peek().text == "(":
                prev = self.tokens[self.i - 2] if self.i >= 2 else None
                if prev is not None and prev.text in ("~", "::"):
                    continue
                self.next()
                inner = self.balanced("(", ")")
                texts = [t.text for t in inner]
                if not inner or texts == ["void"]:
                    cls.ctor_kinds.append("default")
                elif "FObjectInitializer" in texts:
                    cls.ctor_kinds.append("initializer")
                elif texts[:2] == ["FVTableHelper", "&"]:
                    pass
                else:
                    cls.ctor_kinds.append("other")
                continue
            if tok.kind != "doc" and tok.text in (";",):
                self.pending_doc = None
        if not cls.body_line:
            self.error(f"{cls.name} needs GENERATED_BODY()", Token("punct", "", cls.line))
        if self.peek() is None or self.peek().text != ";":
            self.error(f"expected ';' after the definition of {cls.name}", self.peek())

    def parse_function(self, macro: Token, access: str, cls: Struct) -> Function:
        doc = self.take_doc()
        specifiers, meta = self.parse_specifiers(macro, FUNCTION_SPECIFIERS)
        if doc:
            meta.setdefault("ToolTip", doc)
        for key in SPECIFIER_METADATA:
            if specifiers.get(key):
                meta[key] = specifiers[key]
        # Declaration up to '(' of the parameter list.
        head: List[Token] = []
        while True:
            tok = self.next()
            if tok.text == "(":
                break
            if tok.text in (";", "{", "}"):
                self.error("expected a function declaration after UFUNCTION", tok)
            if tok.kind == "id" and tok.text in ("UE_DEPRECATED", "UE_DEPRECATED_FORGAME", "DEPRECATED"):
                self.expect("(")
                self.balanced("(", ")")
                continue
            head.append(tok)
        if not head or head[-1].kind != "id":
            self.error("expected a function name before '('", macro)
        name_tok = head[-1]
        is_static = any(t.text == "static" for t in head[:-1])
        is_virtual = any(t.text == "virtual" for t in head[:-1])
        ret_tokens = [t for t in head[:-1] if t.text not in ("static", "virtual", "inline", "FORCEINLINE",
                                                             "FORCENOINLINE", "explicit", "constexpr")
                      and not (t.kind == "id" and (t.text.endswith("_API") or t.text == "NO_API"))]
        param_tokens = self.balanced("(", ")")
        is_const = False
        # Trailing qualifiers up to ';' or a body.
        while True:
            tok = self.next()
            if tok.text == ";":
                break
            if tok.text == "{":
                self.balanced("{", "}")
                if self.peek() is not None and self.peek().text == ";":
                    self.next()
                break
            if tok.text == "const":
                is_const = True
            elif tok.text == "=":
                nxt = self.next()  # '0', 'default', 'delete'
                if nxt.text == "0":
                    pass
            elif tok.text in ("override", "final", "noexcept", "&", "&&"):
                continue
            elif tok.text == "PURE_VIRTUAL":
                self.expect("(")
                self.balanced("(", ")")
            else:
                self.error(f"unexpected '{tok.text}' after the parameter list of {name_tok.text}", tok)
        return_type = join_tokens(ret_tokens) if ret_tokens else None
        if return_type is None:
            self.error(f"function {name_tok.text} has no return type", name_tok)
        if return_type == "void":
            return_type = None
        params = [self.parse_param(part, name_tok.text) for part in self.split_top_level(param_tokens)
                  if [t.text for t in part] != ["void"]]
        fn = Function(name_tok.text, name_tok.line, specifiers, meta, params, return_type, is_static, is_const,
                      is_virtual, access, name_tok.cond)
        self.check_function(fn, cls)
        return fn

    def parse_param(self, tokens: List[Token], fn_name: str) -> Param:
        meta: Dict[str, str] = {}
        extra_flags: List[str] = []
        if tokens and tokens[0].text == "UPARAM":
            close = 1
            depth = 0
            for k, t in enumerate(tokens[1:], start=1):
                if t.text == "(":
                    depth += 1
                elif t.text == ")":
                    depth -= 1
                    if depth == 0:
                        close = k
                        break
            saved = (self.tokens, self.i)
            self.tokens, self.i = tokens[1:close + 1], 0
            specifiers, umeta = self.parse_specifiers(tokens[0], PARAM_SPECIFIERS)
            self.tokens, self.i = saved
            meta.update(umeta)
            if "DisplayName" in specifiers and specifiers["DisplayName"] is not None:
                meta["DisplayName"] = specifiers["DisplayName"]
            if "ref" in specifiers:
                extra_flags += ["CPF_OutParm", "CPF_ReferenceParm"]
            if "Const" in specifiers:
                extra_flags.append("CPF_ConstParm")
            if "Required" in specifiers:
                extra_flags.append("CPF_RequiredParm")
            tokens = tokens[close + 1:]
        default = None
        for k, t in enumerate(tokens):
            if t.text == "=":
                default = join_tokens(tokens[k + 1:])
                tokens = tokens[:k]
                break
        if len(tokens) < 2 or tokens[-1].kind != "id":
            at = tokens[0] if tokens else None
            self.error(f"parameters of UFUNCTION {fn_name} must be named", at)
        name = tokens[-1].text
        type_tokens = tokens[:-1]
        type_text = join_tokens(type_tokens)
        texts = [t.text for t in type_tokens]
        is_ref = texts[-1] in ("&", "&&")
        is_const = texts[0] == "const" or (len(texts) > 1 and texts[-2] == "const" and is_ref)
        value_tokens = list(type_tokens)
        if is_ref:
            value_tokens = value_tokens[:-1]
        if value_tokens and value_tokens[0].text == "const":
            value_tokens = value_tokens[1:]
        if value_tokens and value_tokens[-1].text == "const":
            value_tokens = value_tokens[:-1]
        flags = ["CPF_Parm"]
        if texts[0] == "const":
            # A leading const is recorded as metadata whatever the type, as the engine's tool does.
            meta["NativeConst"] = ""
        if is_ref and is_const and join_tokens(value_tokens) == "FString":
            # 'const FString&' is an ordinary input: the engine's tool drops the reference and the const.
            pass
        elif is_ref and is_const:
            flags += ["CPF_OutParm", "CPF_ReferenceParm", "CPF_ConstParm"]
        elif is_ref:
            flags.append("CPF_OutParm")
        elif is_const:
            flags.append("CPF_ConstParm")
        for f in extra_flags:
            if f not in flags:
                flags.append(f)
        if default is not None:
            meta["CPP_Default_" + name] = self.default_value_text(join_tokens(value_tokens), default, fn_name, tokens[-1])
        return Param(name, type_text, join_tokens(value_tokens), flags, meta, default)

    _NUMBER_TEXT = r"[+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?[fF]?"
    _VECTOR_CONSTANTS = {"ZeroVector": (0, 0, 0), "OneVector": (1, 1, 1), "UpVector": (0, 0, 1), "DownVector": (0, 0, -1),
                         "ForwardVector": (1, 0, 0), "BackwardVector": (-1, 0, 0), "RightVector": (0, 1, 0),
                         "LeftVector": (0, -1, 0)}

    def default_value_text(self, value_type: str, default: str, fn_name: str, at: Token) -> str:
        """The CPP_Default_ metadata of a parameter default, in the engine header tool's inner format:
        enumerators without their type, numbers of float types and vector or rotator components as '%f',
        strings unquoted, nullptr and NAME_None as 'None'. Defaults it cannot read are errors, as there."""
        text = default.strip()
        number = self._NUMBER_TEXT
        if value_type in ("FVector", "FRotator"):
            cls = "FVector" if value_type == "FVector" else "FRotator"
            m = re.fullmatch(re.escape(cls) + r"::(\w+)", text)
            if m and cls == "FVector" and m.group(1) in self._VECTOR_CONSTANTS:
                return ",".join("%f" % c for c in self._VECTOR_CONSTANTS[m.group(1)])
            if m and cls == "FRotator" and m.group(1) == "ZeroRotator":
                return "0.000000,0.000000,0.000000"
            m = re.fullmatch(re.escape(cls) + r"\((.*)\)", text)
            if m:
                parts = [x.strip() for x in m.group(1).split(",")]
                if len(parts) == 1 and re.fullmatch(number, parts[0]):
                    parts = parts * 3
                if len(parts) == 3 and all(re.fullmatch(number, x) for x in parts):
                    return ",".join("%f" % float(x.rstrip("fF")) for x in parts)
        elif value_type in ("float", "double"):
            if re.fullmatch(number, text):
                return "%f" % float(text.rstrip("fF"))
        elif value_type == "bool":
            if text in ("true", "false"):
                return text
        elif value_type in ("FString", "FText"):
            m = re.fullmatch(r'(?:TEXT\()?"(.*)"\)?', text)
            if m:
                return m.group(1)
            if text in ("FString()", "TEXT(\"\")", "FText::GetEmpty()"):
                return ""
        elif value_type == "FName":
            if text in ("NAME_None", "FName()"):
                return "None"
            m = re.fullmatch(r'(?:FName\()?(?:TEXT\()?"(.*)"\)?\)?', text)
            if m:
                return m.group(1)
        elif value_type.endswith("*"):
            if text in ("nullptr", "NULL"):
                return "None"
        elif re.fullmatch(r"u?int(8|16|32|64)", value_type):
            if re.fullmatch(r"[+-]?[0-9]+", text):
                return text
        else:
            m = re.fullmatch(re.escape(value_type) + r"::(\w+)", text)
            if m:
                return m.group(1)
            if re.fullmatch(r"\w+", text):
                return text
        self.error(f"{fn_name}: C++ default value '{text}' of parameter '{at.text}' cannot be converted", at)
        return text

    def check_function(self, fn: Function, cls: Struct):
        s = fn.specifiers
        if "BlueprintImplementableEvent" in s and "BlueprintNativeEvent" in s:
            self.error(f"{fn.name}: BlueprintImplementableEvent and BlueprintNativeEvent cannot both be given",
                       Token("punct", "", fn.line))
        net = [k for k in ("Client", "Server", "NetMulticast") if k in s]
        if len(net) > 1:
            self.error(f"{fn.name}: only one of Client, Server and NetMulticast may be given", Token("punct", "", fn.line))
        if fn.is_static and (net or "BlueprintImplementableEvent" in s or "BlueprintNativeEvent" in s):
            self.error(f"{fn.name}: static functions cannot be events", Token("punct", "", fn.line))
        if net and "Reliable" not in s and "Unreliable" not in s:
            self.error(f"{fn.name}: replicated functions must be Reliable or Unreliable", Token("punct", "", fn.line))
        names = set()
        for p in fn.params:
            if p.name in names:
                self.error(f"{fn.name}: duplicate parameter name '{p.name}'", Token("punct", "", fn.line))
            names.add(p.name)
        if "BlueprintPure" in s and s["BlueprintPure"] is not None and s["BlueprintPure"].lower() == "false":
            pass

    def parse_property(self, macro: Token, access: str, cls: Struct) -> Property:
        doc = self.take_doc()
        specifiers, meta = self.parse_specifiers(macro, PROPERTY_SPECIFIERS)
        if doc:
            meta.setdefault("ToolTip", doc)
        for key in SPECIFIER_METADATA:
            if specifiers.get(key):
                meta[key] = specifiers[key]
        decl: List[Token] = []
        while True:
            tok = self.next()
            if tok.text == ";":
                break
            if tok.text == "{":
                self.balanced("{", "}")
                continue
            if tok.text == "(" and decl and decl[-1].kind == "id" and decl[-1].text in ("UE_DEPRECATED",):
                self.balanced("(", ")")
                decl.pop()
                continue
            if tok.text in ("UPROPERTY", "UFUNCTION", "}"):
                self.error("expected ';' after the UPROPERTY declaration", tok)
            decl.append(tok)
        # Strip the initialiser and bit-field width.
        bitfield = False
        array_dim = None
        for k, t in enumerate(decl):
            if t.text == "=":
                decl = decl[:k]
                break
        for k, t in enumerate(decl):
            if t.text == ":" and k > 0 and decl[k - 1].kind == "id" and (k + 1 < len(decl) and decl[k + 1].kind == "num"):
                bitfield = True
                decl = decl[:k]
                break
        if len(decl) >= 3 and decl[-1].text == "]":
            open_idx = max(k for k, t in enumerate(decl) if t.text == "[")
            array_dim = join_tokens(decl[open_idx + 1:-1])
            decl = decl[:open_idx]
        decl = [t for t in decl if t.text not in ("mutable", "static")]
        if len(decl) < 2 or decl[-1].kind != "id":
            self.error("expected a member declaration after UPROPERTY", macro)
        name = decl[-1].text
        type_text = join_tokens(decl[:-1])
        flags = self.property_flags(specifiers, macro, name)
        return Property(name, decl[-1].line, type_text, specifiers, meta, flags, access, decl[-1].cond, bitfield, array_dim)

    def property_flags(self, s: Dict[str, Optional[str]], macro: Token, name: str) -> List[str]:
        flags: List[str] = []
        edit = [k for k in ("EditAnywhere", "EditDefaultsOnly", "EditInstanceOnly", "VisibleAnywhere",
                            "VisibleDefaultsOnly", "VisibleInstanceOnly") if k in s]
        if len(edit) > 1:
            self.error(f"property '{name}' has more than one edit specifier ({', '.join(edit)})", macro)
        table = {
            "EditAnywhere": ["CPF_Edit"],
            "EditDefaultsOnly": ["CPF_Edit", "CPF_DisableEditOnInstance"],
            "EditInstanceOnly": ["CPF_Edit", "CPF_DisableEditOnTemplate"],
            "VisibleAnywhere": ["CPF_Edit", "CPF_EditConst"],
            "VisibleDefaultsOnly": ["CPF_Edit", "CPF_EditConst", "CPF_DisableEditOnInstance"],
            "VisibleInstanceOnly": ["CPF_Edit", "CPF_EditConst", "CPF_DisableEditOnTemplate"],
            "BlueprintReadWrite": ["CPF_BlueprintVisible"],
            "BlueprintReadOnly": ["CPF_BlueprintVisible", "CPF_BlueprintReadOnly"],
            "EditConst": ["CPF_EditConst"],
            "Config": ["CPF_Config"],
            "GlobalConfig": ["CPF_GlobalConfig", "CPF_Config"],
            "Transient": ["CPF_Transient"],
            "DuplicateTransient": ["CPF_DuplicateTransient"],
            "NonPIEDuplicateTransient": ["CPF_NonPIEDuplicateTransient"],
            "NonTransactional": ["CPF_NonTransactional"],
            "SaveGame": ["CPF_SaveGame"],
            "Instanced": ["CPF_PersistentInstance", "CPF_ExportObject", "CPF_InstancedReference"],
            "Export": ["CPF_ExportObject"],
            "NoClear": ["CPF_NoClear"],
            "Replicated": ["CPF_Net"],
            "ReplicatedUsing": ["CPF_Net", "CPF_RepNotify"],
            "NotReplicated": ["CPF_RepSkip"],
            "Interp": ["CPF_Edit", "CPF_BlueprintVisible", "CPF_Interp"],
            "AdvancedDisplay": ["CPF_AdvancedDisplay"],
            "SimpleDisplay": ["CPF_SimpleDisplay"],
            "AssetRegistrySearchable": ["CPF_AssetRegistrySearchable"],
            "BlueprintAssignable": ["CPF_BlueprintAssignable"],
            "BlueprintCallable": ["CPF_BlueprintCallable"],
            "BlueprintAuthorityOnly": ["CPF_BlueprintAuthorityOnly"],
            "EditFixedSize": ["CPF_EditFixedSize"],
            "TextExportTransient": ["CPF_TextExportTransient"],
            "SkipSerialization": ["CPF_SkipSerialization"],
        }
        for key in s:
            for f in table.get(key, []):
                if f not in flags:
                    flags.append(f)
        if "BlueprintReadWrite" in s and "BlueprintReadOnly" in s:
            self.error(f"property '{name}' cannot be both BlueprintReadWrite and BlueprintReadOnly", macro)
        return flags

    # -- enums ----------------------------------------------------------------------------------

    def parse_enum(self, macro: Token):
        doc = self.take_doc()
        specifiers, meta = self.parse_specifiers(macro, ENUM_SPECIFIERS)
        if doc and "ToolTip" not in meta:
            meta["ToolTip"] = doc
        kw = self.next()
        if kw.text == "namespace":
            self.error("namespaced UENUMs are not supported by this header tool; use 'enum class'", kw)
        if kw.text != "enum":
            self.error(f"expected 'enum' after UENUM but found '{kw.text}'", kw)
        form = "Regular"
        if self.peek().text in ("class", "struct"):
            self.next()
            form = "EnumClass"
        name = self.expect_id("an enum name")
        underlying = None
        if self.peek().text == ":":
            self.next()
            parts = []
            while self.peek().text != "{":
                if self.peek().text == ";":
                    self.error("UENUM must be defined, not only declared", self.peek())
                parts.append(self.next())
            underlying = join_tokens(parts)
        self.expect("{", f"after enum {name.text}")
        body = self.balanced("{", "}")
        self.expect(";", f"after the definition of enum {name.text}")
        if "BlueprintType" in specifiers and underlying not in ("uint8",) and form == "EnumClass":
            self.error(f"BlueprintType enum '{name.text}' must have uint8 as its underlying type", name)
        entries: List[EnumEntry] = []
        # Doc comments are dropped by balanced(); re-scan the raw tokens for per-entry comments.
        raw_body = self.raw_enum_body(name)
        entry_tokens: List[List[Token]] = [[]]
        docs: List[Optional[Token]] = [None]
        depth = 0
        for t in raw_body:
            if t.kind == "doc":
                if not entry_tokens[-1]:
                    docs[-1] = t
                continue
            if t.text in ("(", "[", "{"):
                depth += 1
            elif t.text in (")", "]", "}"):
                depth -= 1
            if t.text == "," and depth == 0:
                entry_tokens.append([])
                docs.append(None)
                continue
            entry_tokens[-1].append(t)
        for toks, d in zip(entry_tokens, docs):
            if not toks:
                continue
            if toks[0].kind != "id":
                self.error(f"expected an enumerator name in enum {name.text} but found '{toks[0].text}'", toks[0])
            emeta: Dict[str, str] = {}
            if d is not None:
                emeta["ToolTip"] = clean_doc_comment(d.text)
            for j, t in enumerate(toks):
                if t.text == "UMETA":
                    if j + 1 >= len(toks) or toks[j + 1].text != "(" or toks[-1].text != ")":
                        self.error("UMETA must be followed by a parenthesised list", t)
                    emeta.update(self.parse_meta(toks[j + 1:], t))
                    break
            entries.append(EnumEntry(toks[0].text, emeta))
        if not entries:
            self.error(f"enum {name.text} has no enumerators", name)
        self.header.enums.append(Enum(name.text, macro.line, form, underlying, entries, meta, specifiers))

    def raw_enum_body(self, name_tok: Token) -> List[Token]:
        idx = self.tokens.index(name_tok)
        while self.tokens[idx].text != "{":
            idx += 1
        depth = 0
        out = []
        for t in self.tokens[idx:]:
            if t.text == "{":
                depth += 1
                if depth == 1:
                    continue
            elif t.text == "}":
                depth -= 1
                if depth == 0:
                    break
            out.append(t)
        return out

    # -- dynamic delegates ----------------------------------------------------------------------

    _COUNTS = {"": 0, "_OneParam": 1, "_TwoParams": 2, "_ThreeParams": 3, "_FourParams": 4, "_FiveParams": 5,
               "_SixParams": 6, "_SevenParams": 7, "_EightParams": 8, "_NineParams": 9}

    def parse_delegate(self, macro: Token):
        m = re.match(r"DECLARE_DYNAMIC_(MULTICAST_)?(SPARSE_)?DELEGATE(_RetVal)?(\w*)$", macro.text)
        if not m or m.group(4) not in self._COUNTS or m.group(2):
            self.error(f"unsupported delegate macro {macro.text}", macro)
        multicast = bool(m.group(1))
        has_ret = bool(m.group(3))
        count = self._COUNTS[m.group(4)]
        if multicast and has_ret:
            self.error("multicast delegates cannot return a value", macro)
        self.expect("(", f"after {macro.text}")
        args = self.split_top_level(self.balanced("(", ")"))
        expected = count * 2 + 1 + (1 if has_ret else 0)
        if len(args) != expected:
            self.error(f"{macro.text} expects {expected} arguments but has {len(args)}", macro)
        if len({t.line for a in args for t in a} | {macro.line}) != 1:
            self.error(f"{macro.text} must be written on a single line", macro)
        k = 0
        ret = None
        if has_ret:
            ret = join_tokens(args[0])
            k = 1
        name = join_tokens(args[k])
        if not name.startswith("F"):
            self.error(f"Delegate type '{name}' must have an 'F' prefix", macro)
        params = []
        for p in range(count):
            type_tokens = args[k + 1 + 2 * p]
            pname = join_tokens(args[k + 2 + 2 * p])
            params.append(self.parse_param(type_tokens + [Token("id", pname, macro.line)], name))
        self.header.delegates.append(Delegate(name, macro.line, multicast, ret, params, macro.text))
        if self.peek() is not None and self.peek().text == ";":
            self.next()


# ----------------------------------------------------------------------------------------------
# Code generation
# ----------------------------------------------------------------------------------------------

def c_string(value: str) -> str:
    out = []
    for ch in value:
        code = ord(ch)
        if ch == "\\":
            out.append("\\\\")
        elif ch == '"':
            out.append('\\"')
        elif ch == "\n":
            out.append("\\n")
        elif ch == "\t":
            out.append("\\t")
        elif code < 0x20:
            out.append(f"\\x{code:02x}\"\"")
        elif code < 0x80:
            out.append(ch)
        elif code < 0x10000:
            out.append(f"\\u{code:04x}")
        else:
            out.append(f"\\U{code:08x}")
    return 'TEXT("' + "".join(out) + '")'


def strip_prefix(name: str) -> str:
    return name[1:] if len(name) > 1 and name[0] in "UAFIE" and (name[1].isupper() or name[1].isdigit()) else name


FUNC_FLAG_ORDER = ["FUNC_Final", "FUNC_RequiredAPI", "FUNC_BlueprintAuthorityOnly", "FUNC_BlueprintCosmetic",
                   "FUNC_Net", "FUNC_NetReliable", "FUNC_NetRequest", "FUNC_Exec", "FUNC_Native", "FUNC_Event",
                   "FUNC_NetResponse", "FUNC_Static", "FUNC_NetMulticast", "FUNC_MulticastDelegate", "FUNC_Public",
                   "FUNC_Private", "FUNC_Protected", "FUNC_Delegate", "FUNC_NetServer", "FUNC_HasOutParms",
                   "FUNC_HasDefaults", "FUNC_NetClient", "FUNC_BlueprintCallable", "FUNC_BlueprintEvent",
                   "FUNC_BlueprintPure", "FUNC_EditorOnly", "FUNC_Const", "FUNC_NetValidate"]


class Generator:
    def __init__(self, module: str, api_macro: str, headers: List[Header], package: str):
        self.module = module
        self.api = api_macro
        self.headers = headers
        self.package = package
        self.class_names = {c.name: c for h in headers for c in h.classes}
        self.delegate_names = {d.name: d for h in headers for d in h.delegates}
        self.enum_names = {e.name: e for h in headers for e in h.enums}
        self.struct_names = {s.name: s for h in headers for s in h.structs}
        self.native_interfaces = {c.name: c for h in headers for c in h.native_interfaces}

    # -- helpers --------------------------------------------------------------------------------

    def function_kind(self, fn: Function) -> str:
        s = fn.specifiers
        if "BlueprintImplementableEvent" in s:
            return "implementable"
        if "BlueprintNativeEvent" in s:
            return "native_event"
        if any(k in s for k in ("Client", "Server", "NetMulticast")):
            return "rpc"
        return "native"

    def function_flags(self, fn: Function) -> List[str]:
        s = fn.specifiers
        flags = set()
        kind = self.function_kind(fn)
        if kind != "implementable":
            flags.add("FUNC_Native")
        if kind in ("implementable", "native_event"):
            flags |= {"FUNC_Event", "FUNC_BlueprintEvent"}
        if kind == "rpc":
            flags |= {"FUNC_Net", "FUNC_Event"}
            if "Reliable" in s:
                flags.add("FUNC_NetReliable")
            flags.add({"Client": "FUNC_NetClient", "Server": "FUNC_NetServer", "NetMulticast": "FUNC_NetMulticast"}[
                next(k for k in ("Client", "Server", "NetMulticast") if k in s)])
            if "WithValidation" in s:
                flags.add("FUNC_NetValidate")
        pure = "BlueprintPure" in s and (s["BlueprintPure"] or "true").lower() != "false"
        if "BlueprintCallable" in s or pure or kind in ("implementable", "native_event"):
            flags.add("FUNC_BlueprintCallable")
        if pure:
            flags.add("FUNC_BlueprintPure")
        if "BlueprintAuthorityOnly" in s:
            flags.add("FUNC_BlueprintAuthorityOnly")
        if "BlueprintCosmetic" in s:
            flags.add("FUNC_BlueprintCosmetic")
        if "Exec" in s:
            flags.add("FUNC_Exec")
        if fn.is_static:
            flags |= {"FUNC_Static", "FUNC_Final"}
        if fn.is_const:
            flags.add("FUNC_Const")
        flags.add({"public": "FUNC_Public", "protected": "FUNC_Protected", "private": "FUNC_Private"}[fn.access])
        if any("CPF_OutParm" in p.flags for p in fn.params):
            flags.add("FUNC_HasOutParms")
        if any(p.default is not None for p in fn.params):
            flags.add("FUNC_HasDefaults")
        return [f for f in FUNC_FLAG_ORDER if f in flags]

    @staticmethod
    def flags_expr(flags: List[str], enum_type: str, none: str) -> str:
        if not flags:
            return none
        return "(" + enum_type + ")(" + " | ".join(f"(uint64){f}" for f in flags) + ")"

    @staticmethod
    def cond_open(cond: Tuple[str, ...]) -> str:
        return ("#if " + " && ".join(cond) + "\n") if cond else ""

    @staticmethod
    def cond_close(cond: Tuple[str, ...]) -> str:
        return "#endif\n" if cond else ""

    def meta_array(self, name: str, meta: Dict[str, str], module_path: Optional[str] = None) -> Tuple[str, str, str]:
        items = dict(meta)
        if module_path is not None:
            items.setdefault("ModuleRelativePath", module_path)
        if not items:
            return "", "nullptr", "0"
        lines = [f"\tstatic const UECodeGen_Private::FMetaDataPairParam {name}[] = {{"]
        for k in sorted(items):
            lines.append(f"\t\t{{ {c_string(k)}, {c_string(items[k])} }},")
        lines.append("\t};")
        return "\n".join(lines) + "\n", name, f"UE_ARRAY_COUNT({name})"

    def type_kind(self, value_type: str) -> Tuple[str, str]:
        """Classifies a stored type for the property record: (kind, function returning the related
        reflected type as UObject*, or nullptr)."""
        t = value_type.replace(" ", "")

        def rel(expr: str) -> str:
            return f"[]() -> UObject* {{ return {expr}; }}"
        if t.startswith(("TObjectPtr<", "TWeakObjectPtr<", "TSubclassOf<", "TSoftObjectPtr<", "TSoftClassPtr<")):
            inner = t[t.index("<") + 1:-1].rstrip("*").replace("const", "")
            kind = {"TObjectPtr": "Object", "TWeakObjectPtr": "WeakObject", "TSubclassOf": "Class",
                    "TSoftObjectPtr": "SoftObject", "TSoftClassPtr": "SoftClass"}[t[:t.index("<")]]
            return kind, rel(f"{inner}::StaticClass()")
        if t.endswith("*"):
            inner = t[:-1].replace("const", "")
            if re.match(r"^[UA][A-Z]\w*$", inner):
                return "Object", rel(f"{inner}::StaticClass()")
            return "Pointer", "nullptr"
        for prefix, kind in (("TArray<", "Array"), ("TMap<", "Map"), ("TSet<", "Set")):
            if t.startswith(prefix):
                return kind, "nullptr"
        if t.startswith("TEnumAsByte<"):
            inner = t[len("TEnumAsByte<"):-1]
            return "Byte", rel(f"StaticEnum<{inner}>()")
        simple = {"bool": "Bool", "int8": "Int8", "int16": "Int16", "int32": "Int", "int": "Int", "int64": "Int64",
                  "uint8": "Byte", "uint16": "UInt16", "uint32": "UInt32", "uint64": "UInt64", "float": "Float",
                  "double": "Double", "FString": "Str", "FName": "Name", "FText": "Text"}
        if t in simple:
            return simple[t], "nullptr"
        if t in self.enum_names:
            return "Enum", rel(f"StaticEnum<{t}>()")
        if t in self.delegate_names:
            d = self.delegate_names[t]
            return ("MulticastDelegate" if d.multicast else "Delegate"), rel(f"Z_Construct_UDelegateFunction_{t}()")
        if t in self.struct_names:
            return "Struct", rel(f"{t}::StaticStruct()")
        if re.match(r"^F[A-Z]\w*$", t):
            return "Struct", rel(f"UECodeGen_Private::StructOrNull<{t}>()")
        if re.match(r"^[A-Za-z_]\w*$", t):
            # A type this module does not declare, such as an enumeration of another module: the compiler
            # tells an enumeration (which must then be reflected) from anything else.
            return f"UECodeGen_Private::KindOfOtherModuleType<{t}>()", f"&UECodeGen_Private::RelatedTypeOfOtherModuleType<{t}>"
        return "Other", "nullptr"

    @staticmethod
    def container_element(value_type: str) -> Optional[str]:
        """The element type of a TArray, or None for any other type."""
        t = value_type.strip()
        if not t.startswith("TArray<") or not t.endswith(">"):
            return None
        inner = t[len("TArray<"):-1]
        depth = 0
        for k, ch in enumerate(inner):
            if ch == "<":
                depth += 1
            elif ch == ">":
                depth -= 1
            elif ch == "," and depth == 0:
                inner = inner[:k]
                break
        return inner.strip()

    def inner_params(self, name: str, value_type: str, var_name: str) -> Tuple[List[str], str]:
        """The record of an array's element property (declared before the array's own record), and the
        expression that refers to it; no record for a type that is not an array."""
        element = self.container_element(value_type)
        if element is None:
            return [], "nullptr"
        row = self.property_record("", name, element, [], "nullptr", "0", "0", f"(int32)sizeof({element})",
                                   f"(int32)alignof({element})", "nullptr").strip().rstrip(",")
        return [f"\tstatic const UECodeGen_Private::FPropertyParams {var_name} = {row};"], f"&{var_name}"

    def property_record(self, owner: str, name: str, value_type: str, flags: List[str], meta_name: str,
                        meta_count: str, offset_expr: str, size_expr: str, align_expr: str, copy_expr: str,
                        tail: str = "nullptr, nullptr, 1", inner_expr: str = "nullptr") -> str:
        kind, related = self.type_kind(value_type)
        bitfield = tail.startswith("[]")
        if bitfield:
            kind = "BitfieldBool"
        kind_expr = kind if "(" in kind else f"UECodeGen_Private::EPropertyKind::{kind}"
        value_ops = "nullptr" if bitfield else f"UECodeGen_Private::MakeStructOps<{value_type}>()"
        return (f"\t\t{{ {c_string(name)}, {self.flags_expr(flags, 'EPropertyFlags', 'CPF_None')}, "
                f"{c_string(value_type)}, {kind_expr}, {offset_expr}, {size_expr}, {align_expr}, "
                f"{related}, {copy_expr}, {meta_name}, {meta_count}, {tail}, {value_ops}, {inner_expr} }},")

    # -- generated headers ----------------------------------------------------------------------

    def generated_header(self, h: Header) -> str:
        base = os.path.splitext(os.path.basename(h.path))[0]
        guard = f"{self.module.upper()}_{base}_generated_h"
        out = [f"// Generated by the stand-in header tool from {os.path.basename(h.path)}. Do not edit.",
               f"#ifdef {guard}",
               f'#error "{base}.generated.h already included, missing \'#pragma once\' in {base}.h"',
               "#endif",
               f"#define {guard}",
               "",
               '#include "UObject/ObjectMacros.h"',
               '#include "UObject/ScriptMacros.h"',
               "",
               "#undef CURRENT_FILE_ID",
               f"#define CURRENT_FILE_ID {h.file_id}",
               ""]
        for d in h.delegates:
            out.append(self.delegate_body(h, d))
        for c in h.classes:
            out.append(self.class_body(h, c))
        for c in h.native_interfaces:
            out.append(self.native_interface_body(h, c))
        for s in h.structs:
            out.append(self.struct_body(h, s))
        for s in h.structs:
            out.append(f"template<> {self.api} UScriptStruct* StaticStruct<struct {s.name}>();\n")
        for c in h.classes:
            out.append(f"template<> {self.api} UClass* StaticClass<class {c.name}>();\n")
        for e in h.enums:
            out.append(self.enum_foreach(e))
            # The generated header comes before the enum's definition: forward-declare it where C++
            # allows (a fixed underlying type), as the engine's tool does.
            if e.underlying or e.cpp_form == "EnumClass":
                keyword = "enum class" if e.cpp_form == "EnumClass" else "enum"
                out.append(f"{keyword} {e.name}{(' : ' + e.underlying) if e.underlying else ''};")
                out.append(f"template<> {self.api} UEnum* StaticEnum<{e.name}>();\n")
        return "\n".join(out) + "\n"

    @staticmethod
    def macro_lines(name: str, lines: List[str]) -> str:
        body = " \\\n".join(["#define " + name] + ["\t" + l for l in lines])
        return body + "\n"

    def enum_foreach(self, e: Enum) -> str:
        prefix = f"{e.name}::" if e.cpp_form == "EnumClass" else ""
        ops = " ".join(f"op({prefix}{entry.name})" for entry in e.entries)
        return f"#define FOREACH_ENUM_{e.name.upper()}(op) {ops}\n"

    def params_struct_name(self, owner: str, fn_name: str) -> str:
        return f"{strip_prefix(owner)}_event{fn_name}_Parms"

    def params_struct(self, name: str, params: List[Param], ret: Optional[str]) -> List[str]:
        lines = [f"struct {name}", "{"]
        for p in params:
            lines.append(f"\t{p.value_type} {p.name};")
        if ret:
            rt = ret[len("const "):] if ret.startswith("const ") else ret
            if rt.endswith("&"):
                rt = rt[:-1]
            lines.append(f"\t{rt} ReturnValue;")
        lines.append("};")
        return lines

    def delegate_body(self, h: Header, d: Delegate) -> str:
        parms = f"_Script_{self.module}_event{strip_prefix(d.name)}_Parms"
        lines = self.params_struct(parms, d.params, d.return_type)
        wrapper_params = ", ".join([f"const {'FMulticastScriptDelegate' if d.multicast else 'FScriptDelegate'}& {strip_prefix(d.name)}"]
                                   + [f"{p.type_text} {p.name}" for p in d.params])
        ret = d.return_type or "void"
        lines.append(f"static inline {ret} {d.name}_DelegateWrapper({wrapper_params})")
        lines.append("{")
        lines.append(f"\t{parms} Parms;")
        for p in d.params:
            lines.append(f"\tParms.{p.name} = {p.name};")
        lines.append(f"\t{strip_prefix(d.name)}.{'ProcessMulticastDelegate' if d.multicast else 'ProcessDelegate'}<UObject>(&Parms);")
        for p in d.params:
            if "CPF_OutParm" in p.flags and "CPF_ConstParm" not in p.flags:
                lines.append(f"\t{p.name} = Parms.{p.name};")
        if d.return_type:
            lines.append("\treturn Parms.ReturnValue;")
        lines.append("}")
        lines.append(f"{self.api} UFunction* Z_Construct_UDelegateFunction_{d.name}();")
        return self.macro_lines(f"{h.file_id}_{d.line}_DELEGATE", lines)

    def struct_body(self, h: Header, s: Struct) -> str:
        lines = [f"friend struct Z_Construct_UScriptStruct_{s.name}_Statics;",
                 f"static class UScriptStruct* StaticStruct();"]
        if s.super_name:
            lines.append(f"typedef {s.super_name} Super;")
        return self.macro_lines(f"{h.file_id}_{s.body_line}_{self.body_suffix(s)}", lines)

    @staticmethod
    def body_suffix(s: Struct) -> str:
        return "GENERATED_BODY_LEGACY" if s.body_macro in ("GENERATED_UCLASS_BODY", "GENERATED_UINTERFACE_BODY",
                                                           "GENERATED_USTRUCT_BODY", "GENERATED_IINTERFACE_BODY") \
            and s.kind != "struct" else "GENERATED_BODY"

    def super_has_initializer_ctor(self, c: Struct) -> bool:
        sup = self.class_names.get(c.super_name or "")
        if sup is None:
            return True
        return "initializer" in sup.ctor_kinds or not sup.ctor_kinds or self.body_suffix(sup) == "GENERATED_BODY_LEGACY"

    def class_body(self, h: Header, c: Struct) -> str:
        legacy = self.body_suffix(c) == "GENERATED_BODY_LEGACY"
        whole_class_exported = c.api is not None
        minimal = "MinimalAPI" in c.specifiers
        static_api = "" if whole_class_exported else (self.api + " " if minimal else "")
        lines = ["public:",
                 f"friend struct Z_Construct_UClass_{c.name}_Statics;",
                 f"typedef {c.super_name} Super;",
                 f"typedef {c.name} ThisClass;",
                 f"{static_api}static UClass* GetPrivateStaticClass();",
                 "inline static UClass* StaticClass() { return GetPrivateStaticClass(); }",
                 f"inline static const TCHAR* StaticPackage() {{ return {c_string(self.package)}; }}",
                 f"static constexpr EClassFlags StaticClassFlags = {self.flags_expr(self.class_flags(c), 'EClassFlags', 'CLASS_None')};"]
        if "Within" in c.specifiers:
            within = self.within_class(c)
            lines.append(f"typedef class {within} WithinClass;")
            lines.append(f"class {within}* GetOuter{within}() const;")
        else:
            lines.append("typedef Super::WithinClass WithinClass;")
        if legacy:
            lines.append(f"{c.name}(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());")
            ctor_call = "(X)"
        elif "initializer" in c.ctor_kinds:
            ctor_call = "(X)"
        elif "default" in c.ctor_kinds:
            ctor_call = ""
        elif c.ctor_kinds:
            ctor_call = "(X)"
        else:
            if self.super_has_initializer_ctor(c):
                lines.append(f"{c.name}(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get()) : Super(ObjectInitializer) {{}}")
                ctor_call = "(X)"
            else:
                ctor_call = ""
        lines.append(f"static void __DefaultConstructor(const FObjectInitializer& X) {{ new ((void*)X.GetObj()) {c.name}{ctor_call}; }}")
        lines.append(f"{c.name}({c.name}&&) = delete;")
        lines.append(f"{c.name}(const {c.name}&) = delete;")
        funcs = list(c.functions)
        if c.kind == "interface":
            native = self.native_interfaces.get("I" + c.name[1:])
            if native is not None:
                funcs = []
        for fn in funcs:
            lines += self.function_declarations(c, fn)
        if self.reflected_interfaces(c):
            lines.append(f"virtual UObject* _getUObject() const override {{ return const_cast<{c.name}*>(this); }}")
        lines.append("public:" if legacy else "private:")
        return self.macro_lines(f"{h.file_id}_{c.body_line}_{self.body_suffix(c)}", lines)

    ACTOR_CLASSES = {"Actor", "Pawn", "Character", "Controller", "PlayerController", "AIController", "GameModeBase",
                     "GameMode", "PlayerCameraManager", "HUD", "Info", "WorldSettings", "PlayerState", "GameStateBase"}

    def reflected_interfaces(self, c: Struct) -> List[str]:
        """The bases after the first that are the native side of a UINTERFACE of this module; any other base
        is an ordinary C++ base, as the engine's tool treats it."""
        result = []
        for base in c.bases[1:]:
            uclass = self.class_names.get("U" + base[1:]) if re.match(r"I[A-Z]", base) else None
            if uclass is not None and uclass.kind == "interface":
                result.append(base)
        return result

    def within_class(self, c: Struct) -> str:
        """Within= names a class without its prefix (Within=PlayerController means APlayerController)."""
        name = c.specifiers["Within"]
        for prefix in ("U", "A"):
            if prefix + name in self.class_names:
                return prefix + name
        if name in self.class_names:
            return name
        return ("A" if name in self.ACTOR_CLASSES else "U") + name

    def function_declarations(self, c: Struct, fn: Function) -> List[str]:
        lines = [f"static void exec{fn.name}(UObject* Context, FFrame& Stack, RESULT_DECL);"]
        kind = self.function_kind(fn)
        params = ", ".join(f"{p.type_text} {p.name}" for p in fn.params)
        ret = fn.return_type or "void"
        const = " const" if fn.is_const else ""
        if kind in ("native_event", "rpc") and f"{fn.name}_Implementation" not in c.identifiers:
            lines.append(f"virtual {ret} {fn.name}_Implementation({params}){const};")
        if kind == "rpc" and "WithValidation" in fn.specifiers and f"{fn.name}_Validate" not in c.identifiers:
            lines.append(f"virtual bool {fn.name}_Validate({params}){const};")
        return lines

    def native_interface_body(self, h: Header, c: Struct) -> str:
        uname = "U" + c.name[1:]
        legacy = self.body_suffix(c) == "GENERATED_BODY_LEGACY"
        lines = ["protected:",
                 f"virtual ~{c.name}() {{}}",
                 "public:",
                 f"typedef {uname} UClassType;",
                 f"typedef {c.name} ThisClass;",
                 "virtual UObject* _getUObject() const { return nullptr; }"]
        ucls = self.class_names.get(uname)
        for fn in c.functions:
            lines += self.function_declarations(c, fn)
            kind = self.function_kind(fn)
            if kind in ("implementable", "native_event"):
                params = ", ".join(["UObject* O"] + [f"{p.type_text} {p.name}" for p in fn.params])
                lines.append(f"static {fn.return_type or 'void'} Execute_{fn.name}({params});")
        lines.append("public:" if legacy else "private:")
        if ucls is None:
            raise HeaderToolError(h.path, c.line, f"native interface {c.name} has no UINTERFACE {uname} in the same header")
        ucls.functions = c.functions
        return self.macro_lines(f"{h.file_id}_{c.body_line}_{self.body_suffix(c)}", lines)

    def class_flags(self, c: Struct) -> List[str]:
        s = c.specifiers
        flags = ["CLASS_Native"]
        if "Abstract" in s or c.kind == "interface":
            flags.append("CLASS_Abstract")
        if c.kind == "interface":
            flags.append("CLASS_Interface")
        if "Config" in s:
            flags.append("CLASS_Config")
        if "DefaultConfig" in s:
            flags.append("CLASS_DefaultConfig")
        if "GlobalUserConfig" in s:
            flags.append("CLASS_GlobalUserConfig")
        if "ProjectUserConfig" in s:
            flags.append("CLASS_ProjectUserConfig")
        if "PerObjectConfig" in s:
            flags.append("CLASS_PerObjectConfig")
        if "Transient" in s:
            flags.append("CLASS_Transient")
        if "NotPlaceable" in s:
            flags.append("CLASS_NotPlaceable")
        if "EditInlineNew" in s:
            flags.append("CLASS_EditInlineNew")
        if "CollapseCategories" in s:
            flags.append("CLASS_CollapseCategories")
        if "Const" in s:
            flags.append("CLASS_Const")
        if "MinimalAPI" in s:
            flags.append("CLASS_MinimalAPI")
        if c.api is not None:
            flags.append("CLASS_RequiredAPI")
        if "DefaultToInstanced" in s:
            flags.append("CLASS_DefaultToInstanced")
        if "Hidden" in s:
            flags.append("CLASS_Hidden")
        if "Deprecated" in s:
            flags.append("CLASS_Deprecated")
        if "HideDropdown" in s:
            flags.append("CLASS_HideDropDown")
        if "Optional" in s:
            flags.append("CLASS_Optional")
        return flags

    def class_metadata(self, c: Struct) -> Dict[str, str]:
        meta = dict(c.meta)
        s = c.specifiers
        if "BlueprintType" in s:
            meta["BlueprintType"] = "true"
        if "Blueprintable" in s:
            meta["IsBlueprintBase"] = "true"
            meta["BlueprintType"] = "true"
        if "NotBlueprintable" in s:
            meta["IsBlueprintBase"] = "false"
        if "NotBlueprintType" in s:
            meta["NotBlueprintType"] = "true"
        for key in ("ClassGroup", "HideCategories", "ShowCategories", "AutoExpandCategories", "AutoCollapseCategories",
                    "PrioritizeCategories", "HideFunctions"):
            if s.get(key):
                meta[{"ClassGroup": "ClassGroupNames"}.get(key, key)] = s[key].strip("()").replace(",", " ").replace("  ", " ")
        meta.setdefault("IncludePath", os.path.basename(c_header_path(c)))
        return meta

    # -- registration code ----------------------------------------------------------------------

    def init_cpp(self, header_includes: List[str], module_paths: Dict[str, str]) -> str:
        out = [f"// Generated by the stand-in header tool for module {self.module}. Do not edit.",
               "#if defined(__GNUC__)",
               '#pragma GCC diagnostic ignored "-Winvalid-offsetof"',
               "#endif"]
        for inc in header_includes:
            out.append(f'#include "{inc}"')
        out.append('#include "UObject/GeneratedCppIncludes.h"')
        out.append("")
        out.append(f"static UObject* Z_Construct_UPackage_{self.module}() {{ return UECodeGen_Private::FindOrCreatePackage({c_string(self.package)}); }}")
        out.append("")
        for h in self.headers:
            mp = module_paths[h.path]
            for d in h.delegates:
                out.append(self.delegate_registration(d, mp))
            for e in h.enums:
                out.append(self.enum_registration(e, mp))
            for s in h.structs:
                out.append(self.struct_registration(s, mp))
            for c in h.classes:
                out.append(self.class_registration(h, c, mp))
        # Deferred registration: every type is constructed the first time the object system is asked
        # about types it does not know, as the engine does when a module's objects are processed.
        out.append(f"static void Z_Register_{self.module}()")
        out.append("{")
        for h in self.headers:
            for d in h.delegates:
                out.append(f"\tZ_Construct_UDelegateFunction_{d.name}();")
            for e in h.enums:
                out.append(f"\tStaticEnum<{e.name}>();")
            for s in h.structs:
                out.append(f"\t{s.name}::StaticStruct();")
            for c in h.classes:
                out.append(f"\t{c.name}::StaticClass();")
        out.append("}")
        out.append(f"static UECodeGen_Private::FCompiledInRegistration Z_CompiledInRegistration_{self.module}(&Z_Register_{self.module});")
        return "\n".join(out) + "\n"

    def delegate_registration(self, d: Delegate, mp: str) -> str:
        parms = f"_Script_{self.module}_event{strip_prefix(d.name)}_Parms"
        flags = ["FUNC_Public", "FUNC_Delegate"] + (["FUNC_MulticastDelegate"] if d.multicast else [])
        if any("CPF_OutParm" in p.flags for p in d.params):
            flags.append("FUNC_HasOutParms")
        lines = [f"UFunction* Z_Construct_UDelegateFunction_{d.name}()", "{",
                 "\tstatic UFunction* Function = nullptr;", "\tif (Function) { return Function; }"]
        lines += self.param_records(parms, d.params, d.return_type, "Props")
        mtxt, mname, mcount = self.meta_array("Meta", {}, mp)
        lines.append(mtxt)
        lines.append(f"\tstatic const UECodeGen_Private::FFunctionParams Params = {{ &Z_Construct_UPackage_{self.module}, "
                     f"nullptr, {c_string(strip_prefix(d.name) + '__DelegateSignature')}, "
                     f"{self.flags_expr([f for f in FUNC_FLAG_ORDER if f in flags], 'EFunctionFlags', 'FUNC_None')}, nullptr, "
                     f"{'Props' if d.params or d.return_type else 'nullptr'}, {'UE_ARRAY_COUNT(Props)' if d.params or d.return_type else '0'}, (uint16)sizeof({parms}), {mname}, {mcount} }};")
        lines.append("\tFunction = UECodeGen_Private::ConstructUFunction(Params);")
        lines.append("\treturn Function;")
        lines.append("}")
        return "\n".join(lines) + "\n"

    def param_records(self, parms: str, params: List[Param], ret: Optional[str], array: str) -> List[str]:
        lines = []
        metas = []
        for p in params:
            pm = {k: v for k, v in p.meta.items() if not k.startswith("CPP_Default_")}
            if pm:
                mtxt, mname, mcount = self.meta_array(f"{array}_{p.name}_Meta", pm)
                lines.append(mtxt)
                metas.append((mname, mcount))
            else:
                metas.append(("nullptr", "0"))
        rows = []
        for p, (mname, mcount) in zip(params, metas):
            inner_lines, inner_expr = self.inner_params(p.name, p.value_type, f"{array}_{p.name}_Inner")
            lines += inner_lines
            rows.append(self.property_record(parms, p.name, p.value_type, p.flags, mname, mcount,
                                             f"(int32)offsetof({parms}, {p.name})", f"(int32)sizeof({parms}::{p.name})",
                                             f"(int32)alignof(decltype({parms}::{p.name}))",
                                             f"&UECodeGen_Private::CopyMember<{parms}, &{parms}::{p.name}>",
                                             inner_expr=inner_expr))
        if ret:
            rt = ret[len("const "):] if ret.startswith("const ") else ret
            rt = rt[:-1] if rt.endswith("&") else rt
            inner_lines, inner_expr = self.inner_params("ReturnValue", rt, f"{array}_ReturnValue_Inner")
            lines += inner_lines
            rows.append(self.property_record(parms, "ReturnValue", rt, ["CPF_Parm", "CPF_OutParm", "CPF_ReturnParm"],
                                             "nullptr", "0", f"(int32)offsetof({parms}, ReturnValue)",
                                             f"(int32)sizeof({parms}::ReturnValue)",
                                             f"(int32)alignof(decltype({parms}::ReturnValue))",
                                             f"&UECodeGen_Private::CopyMember<{parms}, &{parms}::ReturnValue>",
                                             inner_expr=inner_expr))
        if rows:
            lines.append(f"\tstatic const UECodeGen_Private::FPropertyParams {array}[] = {{")
            lines += rows
            lines.append("\t};")
        return lines

    def enum_registration(self, e: Enum, mp: str) -> str:
        lines = [f"template<> {self.api} UEnum* StaticEnum<{e.name}>()", "{",
                 "\tstatic UEnum* Enum = nullptr;", "\tif (Enum) { return Enum; }"]
        meta = dict(e.meta)
        if "BlueprintType" in e.specifiers:
            meta["BlueprintType"] = "true"
        if "Flags" in e.specifiers:
            meta["Bitflags"] = ""
        for entry in e.entries:
            for k, v in entry.meta.items():
                meta[f"{entry.name}.{k}"] = v
        mtxt, mname, mcount = self.meta_array("Meta", meta, mp)
        lines.append(mtxt)
        qual = f"{e.name}::" if e.cpp_form == "EnumClass" else ""
        lines.append("\tstatic const UECodeGen_Private::FEnumeratorParam Enumerators[] = {")
        for entry in e.entries:
            lines.append(f"\t\t{{ {c_string(qual + entry.name)}, (int64){qual}{entry.name} }},")
        lines.append("\t};")
        lines.append(f"\tstatic const UECodeGen_Private::FEnumParams Params = {{ &Z_Construct_UPackage_{self.module}, "
                     f"{c_string(e.name)}, {c_string(e.name)}, Enumerators, UE_ARRAY_COUNT(Enumerators), "
                     f"(uint8)UEnum::ECppForm::{e.cpp_form}, {'true' if 'Flags' in e.specifiers else 'false'}, {mname}, {mcount} }};")
        lines.append("\tEnum = UECodeGen_Private::ConstructUEnum(Params);")
        lines.append("\treturn Enum;")
        lines.append("}")
        return "\n".join(lines) + "\n"

    def member_property_rows(self, owner: Struct, array: str) -> Tuple[List[str], List[str]]:
        pre = []
        rows = []
        for p in owner.properties:
            pre.append(self.cond_open(p.cond).rstrip("\n") if p.cond else "")
            mtxt, mname, mcount = self.meta_array(f"{array}_{p.name}_Meta", p.meta)
            pre.append(mtxt)
            pre.append(self.cond_close(p.cond).rstrip("\n") if p.cond else "")
            flags = list(p.flags)
            flags.append({"public": "CPF_NativeAccessSpecifierPublic", "protected": "CPF_NativeAccessSpecifierProtected",
                          "private": "CPF_NativeAccessSpecifierPrivate"}[p.access])
            if p.bitfield:
                offset = "-1"
                size = "(int32)sizeof(bool)"
                align = "(int32)alignof(bool)"
                copy = f"[](void* Dest, const void* Src) {{ (({owner.name}*)Dest)->{p.name} = (({owner.name}*)Src)->{p.name}; }}"
                value_type = "bool"
            else:
                offset = f"(int32)offsetof({owner.name}, {p.name})"
                size = f"(int32)sizeof({owner.name}::{p.name})"
                align = f"(int32)alignof(decltype({owner.name}::{p.name}))"
                copy = f"&UECodeGen_Private::CopyMember<{owner.name}, &{owner.name}::{p.name}>"
                value_type = p.type_text
            tail = "nullptr, nullptr, 1"
            if p.bitfield:
                tail = (f"[](const void* C) -> bool {{ return (({owner.name}*)C)->{p.name}; }}, "
                        f"[](void* C, bool V) {{ (({owner.name}*)C)->{p.name} = V; }}, 1")
            if p.array_dim:
                size = f"(int32)sizeof({owner.name}::{p.name}[0])"
                align = f"(int32)alignof(decltype({owner.name}::{p.name}[0]))"
                copy = (f"[](void* Dest, const void* Src) {{ for (SIZE_T I = 0; I < UE_ARRAY_COUNT((({owner.name}*)Dest)->{p.name}); ++I) "
                        f"{{ (({owner.name}*)Dest)->{p.name}[I] = (({owner.name}*)Src)->{p.name}[I]; }} }}")
                tail = f"nullptr, nullptr, (int32)(sizeof({owner.name}::{p.name}) / sizeof({owner.name}::{p.name}[0]))"
            inner_expr = "nullptr"
            if not p.bitfield and not p.array_dim:
                inner_lines, inner_expr = self.inner_params(p.name, value_type, f"{array}_{p.name}_Inner")
                pre += [self.cond_open(p.cond).rstrip("\n")] if p.cond else []
                pre += inner_lines
                pre += [self.cond_close(p.cond).rstrip("\n")] if p.cond else []
            row = self.property_record(owner.name, p.name, value_type, flags, mname, mcount, offset, size, align, copy, tail,
                                       inner_expr=inner_expr)
            rows.append(self.cond_open(p.cond).rstrip("\n") if p.cond else "")
            rows.append(row)
            rows.append(self.cond_close(p.cond).rstrip("\n") if p.cond else "")
        return [l for l in pre if l], [l for l in rows if l]

    def struct_registration(self, s: Struct, mp: str) -> str:
        lines = [f"struct Z_Construct_UScriptStruct_{s.name}_Statics", "{", "\tstatic UScriptStruct* Construct()", "\t{"]
        pre, rows = self.member_property_rows(s, "Props")
        lines += pre
        meta = dict(s.meta)
        if "BlueprintType" in s.specifiers:
            meta["BlueprintType"] = "true"
        mtxt, mname, mcount = self.meta_array("Meta", meta, mp)
        lines.append(mtxt)
        if rows:
            lines.append("\t\tstatic const UECodeGen_Private::FPropertyParams Props[] = {")
            lines += rows
            lines.append("\t\t};")
        props = ("Props", "UE_ARRAY_COUNT(Props)") if rows else ("nullptr", "0")
        super_func = f"[]() -> UScriptStruct* {{ return {s.super_name}::StaticStruct(); }}" if s.super_name else "nullptr"
        lines.append(f"\t\tstatic const UECodeGen_Private::FStructParams Params = {{ &Z_Construct_UPackage_{self.module}, "
                     f"{super_func}, {c_string(strip_prefix(s.name))}, (int32)sizeof({s.name}), (int32)alignof({s.name}), "
                     f"UECodeGen_Private::MakeStructOps<{s.name}>(), {props[0]}, {props[1]}, {mname}, {mcount} }};")
        lines.append("\t\treturn UECodeGen_Private::ConstructUScriptStruct(Params);")
        lines.append("\t}")
        lines.append("};")
        lines.append(f"UScriptStruct* {s.name}::StaticStruct()")
        lines.append("{")
        lines.append(f"\tstatic UScriptStruct* Struct = Z_Construct_UScriptStruct_{s.name}_Statics::Construct();")
        lines.append("\treturn Struct;")
        lines.append("}")
        lines.append(f"template<> {self.api} UScriptStruct* StaticStruct<{s.name}>() {{ return {s.name}::StaticStruct(); }}")
        return "\n".join(lines) + "\n"

    def thunk(self, c: Struct, fn: Function, owner_type: str, via_interface: bool) -> List[str]:
        parms = self.params_struct_name(c.name, fn.name)
        kind = self.function_kind(fn)
        lines = [f"void {owner_type}::exec{fn.name}(UObject* Context, FFrame& Stack, RESULT_DECL)", "{"]
        if kind == "implementable":
            # Only a Blueprint can implement this event; natively it has nothing to run.
            lines += ["\t(void)Context; (void)Stack; (void)Z_Param__Result;", "}"]
            return lines
        lines.append(f"\t{parms}& Parms = *reinterpret_cast<{parms}*>(Stack.Locals);")
        lines.append("\t(void)Context; (void)Parms; (void)Z_Param__Result;")
        args = ", ".join(f"Parms.{p.name}" for p in fn.params)
        target = fn.name + ("_Implementation" if kind in ("native_event", "rpc") else "")
        if fn.is_static:
            call = f"{owner_type}::{target}({args})"
        elif via_interface:
            lines.append(f"\t{owner_type}* This = ({owner_type}*)Context->GetInterfaceAddress({'U' + owner_type[1:]}::StaticClass());")
            lines.append("\tcheck(This);")
            call = f"This->{target}({args})"
        else:
            lines.append(f"\t{owner_type}* This = ({owner_type}*)Context;")
            call = f"This->{target}({args})"
        if kind == "rpc" and "WithValidation" in fn.specifiers:
            obj = "This" if not fn.is_static else owner_type
            lines.append(f"\tif (!{obj}->{fn.name}_Validate({args})) {{ return; }}")
        if fn.return_type:
            lines.append(f"\tParms.ReturnValue = {call};")
        else:
            lines.append(f"\t{call};")
        lines.append("}")
        return lines

    def event_wrapper(self, c: Struct, fn: Function, owner_type: str, interface: bool) -> List[str]:
        parms = self.params_struct_name(c.name, fn.name)
        params = ", ".join(f"{p.type_text} {p.name}" for p in fn.params)
        ret = fn.return_type or "void"
        lines = []
        if interface:
            lines.append(f"{ret} {owner_type}::Execute_{fn.name}({', '.join(['UObject* O'] + [f'{p.type_text} {p.name}' for p in fn.params])})")
            lines.append("{")
            lines.append("\tcheck(O != nullptr);")
            lines.append(f"\tcheck(O->GetClass()->ImplementsInterface({'U' + owner_type[1:]}::StaticClass()));")
            target = "O"
        else:
            lines.append(f"{ret} {owner_type}::{fn.name}({params}){' const' if fn.is_const else ''}")
            lines.append("{")
            target = f"const_cast<{owner_type}*>(this)" if fn.is_const else "this"
        lines.append(f"\t{parms} Parms;")
        for p in fn.params:
            lines.append(f"\tParms.{p.name} = {p.name};")
        lines.append(f"\tUFunction* Func = {target}->FindFunctionChecked(FName(TEXT(\"{fn.name}\")));")
        lines.append(f"\t{target}->ProcessEvent(Func, &Parms);")
        for p in fn.params:
            if "CPF_OutParm" in p.flags and "CPF_ConstParm" not in p.flags:
                lines.append(f"\t{p.name} = Parms.{p.name};")
        if fn.return_type:
            lines.append("\treturn Parms.ReturnValue;")
        lines.append("}")
        return lines

    def class_registration(self, h: Header, c: Struct, mp: str) -> str:
        native = self.native_interfaces.get("I" + c.name[1:]) if c.kind == "interface" else None
        owner_type = native.name if native is not None else c.name
        out = []
        # Parameter blocks, thunks and event wrappers.
        for fn in c.functions:
            out.append(self.cond_open(fn.cond).rstrip("\n"))
            out += self.params_struct(self.params_struct_name(c.name, fn.name), fn.params, fn.return_type)
            out += self.thunk(c, fn, owner_type, native is not None)
            if self.function_kind(fn) in ("implementable", "native_event", "rpc"):
                out += self.event_wrapper(c, fn, owner_type, native is not None)
            out.append(self.cond_close(fn.cond).rstrip("\n"))
        out.append(f"struct Z_Construct_UClass_{c.name}_Statics")
        out.append("{")
        for fn in c.functions:
            parms = self.params_struct_name(c.name, fn.name)
            out.append(self.cond_open(fn.cond).rstrip("\n"))
            out.append(f"\tstatic UFunction* Z_Construct_UFunction_{fn.name}()")
            out.append("\t{")
            out += ["\t" + l for l in self.param_records(parms, fn.params, fn.return_type, "Props")]
            fmeta = {k: v for k, v in fn.meta.items()}
            for p in fn.params:
                if "CPP_Default_" + p.name in p.meta:
                    fmeta["CPP_Default_" + p.name] = p.meta["CPP_Default_" + p.name]
            mtxt, mname, mcount = self.meta_array("Meta", fmeta, mp)
            out.append(mtxt)
            has_props = bool(fn.params or fn.return_type)
            out.append(f"\t\tstatic const UECodeGen_Private::FFunctionParams Params = {{ nullptr, nullptr, "
                       f"{c_string(fn.name)}, {self.flags_expr(self.function_flags(fn), 'EFunctionFlags', 'FUNC_None')}, "
                       f"&{owner_type}::exec{fn.name}, {'Props' if has_props else 'nullptr'}, {'UE_ARRAY_COUNT(Props)' if has_props else '0'}, "
                       f"(uint16)sizeof({parms}), {mname}, {mcount} }};")
            out.append("\t\treturn UECodeGen_Private::ConstructUFunction(Params);")
            out.append("\t}")
            out.append(self.cond_close(fn.cond).rstrip("\n"))
        out.append("\tstatic UClass* Construct()")
        out.append("\t{")
        pre, rows = self.member_property_rows(c, "Props") if c.kind != "interface" else ([], [])
        out += ["\t" + l for l in pre]
        if rows:
            out.append("\t\tstatic const UECodeGen_Private::FPropertyParams Props[] = {")
            out += ["\t" + r for r in rows]
            out.append("\t\t};")
        funcs = []
        for fn in c.functions:
            funcs.append(self.cond_open(fn.cond).rstrip("\n"))
            funcs.append(f"\t\t\t&Z_Construct_UFunction_{fn.name},")
            funcs.append(self.cond_close(fn.cond).rstrip("\n"))
        funcs = [f for f in funcs if f]
        if funcs:
            out.append("\t\tstatic UFunction* (*const Functions[])() = {")
            out += funcs
            out.append("\t\t};")
        interfaces = self.reflected_interfaces(c)
        for base in c.bases[1:]:
            if base not in interfaces:
                # A base the engine's tool would not take for an interface: only the native side of a UINTERFACE
                # declared in this module is registered, so one declared elsewhere must not pass unnoticed.
                out.append(f"\t\tstatic_assert(!UECodeGen_Private::TIsReflectedNativeInterface<{base}>, "
                           f"\"{base} is the native side of an interface this module does not declare\");")
        if interfaces:
            out.append("\t\tstatic const UECodeGen_Private::FImplementedInterfaceParams Interfaces[] = {")
            for i in interfaces:
                out.append(f"\t\t\t{{ &U{i[1:]}::StaticClass, (int32)((char*)static_cast<{i}*>(({c.name}*)0x1000) - (char*)0x1000) }},")
            out.append("\t\t};")
        mtxt, mname, mcount = self.meta_array("Meta", self.class_metadata(c), mp)
        out.append(mtxt)
        within = c.specifiers.get("Within")
        config = c.specifiers.get("Config")
        out.append(f"\t\tstatic const UECodeGen_Private::FClassParams Params = {{ &{c.name}::Super::StaticClass, "
                   f"{('&' + self.within_class(c) + '::StaticClass') if within else 'nullptr'}, &Z_Construct_UPackage_{self.module}, "
                   f"{c_string(strip_prefix(c.name))}, {c.name}::StaticClassFlags, {c_string(config) if config else 'nullptr'}, "
                   f"(int32)sizeof({c.name}), (int32)alignof({c.name}), &{c.name}::__DefaultConstructor, "
                   f"{'Functions' if funcs else 'nullptr'}, {'UE_ARRAY_COUNT(Functions)' if funcs else '0'}, "
                   f"{'Props' if rows else 'nullptr'}, {'UE_ARRAY_COUNT(Props)' if rows else '0'}, "
                   f"{'Interfaces' if interfaces else 'nullptr'}, {'UE_ARRAY_COUNT(Interfaces)' if interfaces else '0'}, "
                   f"{mname}, {mcount} }};")
        out.append("\t\treturn UECodeGen_Private::ConstructUClass(Params);")
        out.append("\t}")
        out.append("};")
        out.append(f"UClass* {c.name}::GetPrivateStaticClass()")
        out.append("{")
        out.append(f"\tstatic UClass* Class = Z_Construct_UClass_{c.name}_Statics::Construct();")
        out.append("\treturn Class;")
        out.append("}")
        out.append(f"template<> {self.api} UClass* StaticClass<{c.name}>() {{ return {c.name}::StaticClass(); }}")
        if within:
            w = self.within_class(c)
            out.append(f"{w}* {c.name}::GetOuter{w}() const {{ return ({w}*)GetOuter(); }}")
        return "\n".join(l for l in out if l != "") + "\n"


_HEADER_OF: Dict[int, str] = {}


def c_header_path(s: Struct) -> str:
    return _HEADER_OF.get(id(s), "")


# ----------------------------------------------------------------------------------------------
# Driver
# ----------------------------------------------------------------------------------------------

def module_relative_path(path: str, module_root: Optional[str]) -> str:
    if module_root:
        rel = os.path.relpath(path, module_root)
        if not rel.startswith(".."):
            return rel.replace(os.sep, "/")
    return os.path.basename(path)


def include_path_for(path: str, include_roots: List[str]) -> str:
    best = None
    for root in include_roots:
        rel = os.path.relpath(path, root)
        if not rel.startswith("..") and (best is None or len(rel) < len(best)):
            best = rel
    return (best or os.path.abspath(path)).replace(os.sep, "/")


def write_if_changed(path: str, text: str):
    try:
        with open(path, "r", encoding="utf-8") as f:
            if f.read() == text:
                return
    except OSError:
        pass
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def run(argv: List[str]) -> int:
    ap = argparse.ArgumentParser(description="Stand-in reflection header tool")
    ap.add_argument("--module", required=True)
    ap.add_argument("--api-macro", required=True)
    ap.add_argument("--output-dir", required=True, help="directory for the *.generated.h files")
    ap.add_argument("--init-file", required=True, help="path of the registration source to write")
    ap.add_argument("--package", help="package name (default /Script/<Module>)")
    ap.add_argument("--module-root", help="directory ModuleRelativePath metadata is relative to")
    ap.add_argument("--include-root", action="append", default=[], help="directories the headers are included from")
    ap.add_argument("--headers-file", help="file listing headers, one per line")
    ap.add_argument("headers", nargs="*")
    args = ap.parse_args(argv)

    headers = list(args.headers)
    if args.headers_file:
        with open(args.headers_file, encoding="utf-8") as f:
            headers += [line.strip() for line in f if line.strip()]
    parsed: List[Header] = []
    seen: Dict[str, str] = {}
    try:
        for path in headers:
            base = os.path.basename(path)
            if base in seen:
                raise HeaderToolError(path, 1, f"two headers of module {args.module} are named {base} (other: {seen[base]})")
            seen[base] = path
            with open(path, encoding="utf-8-sig") as f:
                text = f.read()
            header = Parser(path, text, args.module, args.include_root).parse()
            for c in header.classes + header.structs:
                _HEADER_OF[id(c)] = include_path_for(path, args.include_root)
            parsed.append(header)
        gen = Generator(args.module, args.api_macro, parsed, args.package or f"/Script/{args.module}")
        outputs = {}
        for h in parsed:
            base = os.path.splitext(os.path.basename(h.path))[0]
            outputs[os.path.join(args.output_dir, base + ".generated.h")] = gen.generated_header(h)
        includes = [include_path_for(h.path, args.include_root) for h in parsed
                    if h.classes or h.structs or h.enums or h.delegates]
        mps = {h.path: module_relative_path(h.path, args.module_root) for h in parsed}
        init = gen.init_cpp(includes, mps)
    except HeaderToolError as e:
        print(str(e), file=sys.stderr)
        return 1
    except OSError as e:
        print(f"{getattr(e, 'filename', '') or 'header tool'}:1: error: {e.strerror}", file=sys.stderr)
        return 1
    os.makedirs(args.output_dir, exist_ok=True)
    for path, text in outputs.items():
        write_if_changed(path, text)
    os.makedirs(os.path.dirname(os.path.abspath(args.init_file)), exist_ok=True)
    write_if_changed(args.init_file, init)
    return 0


if __name__ == "__main__":
    sys.exit(run(sys.argv[1:]))
