#!/usr/bin/env python3
"""Figures of the code's shape, printed one per line: the database request
names spelled outside db/, the mailbox's edits named and its texts written or
read outside db/, the rows of the tables read by position, the functions over
80 lines and the files over 800 lines. Run from the checkout's top folder;
--long also names each long function and file."""
import pathlib
import re
import sys

CODE = ["protocol", "db", "controls", "grid", "shell", "transfer", "ethernet", "serial", "results", "screens",
        "labeltool", "app"]
MAX_FUNCTION = 80
MAX_FILE = 800

REQUEST_NAME = re.compile(r'"([A-Z][A-Za-z]*(?:_[A-Za-z]+)*_(?:Read|read|Update|Insert|Delete|Login|Change|Clear))"')
MAILBOX_ID = re.compile(r"\bIDC_MAILBOX_(?:NAME|TEXT|MARKER)\b")
MAILBOX_CALL = re.compile(r"\b(?:SetText|TakeText|Text)\s*\(\s*IDC_MAILBOX_")
# A row of a table read by position: a brace that opens with the value of the
# table's first field (a row that names its fields opens with ".field =").
TABLES = {
    "DataKindInfo": (pathlib.Path("protocol/data_kinds.cpp"), r"\{\s*DataKind::\w+\s*,"),
    "ScreenInfo": (pathlib.Path("shell/screen_table.cpp"), r"\{\s*Screen::\w+\s*,"),
    "ItemColumn": (pathlib.Path("db/item_columns.h"), r"\{\s*F::\w+\s*,"),
    "ScreenPanels": (pathlib.Path("screens/screen_panels.cpp"), r"\{\s*Bits\("),
}


def files(folders):
    for folder in folders:
        for path in sorted(pathlib.Path(folder).rglob("*")):
            if path.suffix in (".h", ".cpp"):
                yield path


def strip(text):
    """Comments and literals blanked, the lines kept."""
    text = re.sub(r"//[^\n]*|/\*.*?\*/", lambda m: re.sub(r"[^\n]", " ", m.group(0)), text, flags=re.S)
    text = re.sub(r'"(\\.|[^"\\\n])*"' + r"|'(\\.|[^'\\\n])*'", '""', text)
    return re.sub(r"^[ \t]*#[^\n]*", " ", text, flags=re.M)


CONTROL = re.compile(r"\b(?:if|for|while|switch|catch|return|else|do|try)\s*$")


def functions(path):
    """(name, first line, lines) of each function body of a file."""
    text = strip(path.read_text(encoding="utf-8"))
    found = []
    i = 0
    while i < len(text):
        if text[i] != "{":
            i += 1
            continue
        start = max(text.rfind(";", 0, i), text.rfind("{", 0, i), text.rfind("}", 0, i)) + 1
        head = text[start:i]
        # A function: a parameter list closed before the brace, maybe const,
        # override, noexcept, a trailing return type or a constructor's
        # initialisers after it.
        m = re.search(r"([~\w:]+)\s*\([^;]*\)\s*(?:const|override|final|noexcept|mutable|->[^;{]*|:[^;{]*|\s)*$",
                      head)
        if m and not CONTROL.search(head[: m.start(1)]) and m.group(1) not in ("if", "for", "while", "switch",
                                                                                "catch", "return"):
            depth = 0
            for j in range(i, len(text)):
                depth += (text[j] == "{") - (text[j] == "}")
                if depth == 0:
                    break
            first = text.count("\n", 0, start + m.start(1)) + 1
            last = text.count("\n", 0, j) + 1
            found.append((m.group(1), first, last - first + 1))
            i = j + 1
            continue
        i += 1
    return found


def main():
    long = "--long" in sys.argv
    names = {}
    name_files = set()
    kind_words = set()
    for path in files(c for c in CODE if c != "db"):
        code = re.sub(r"//[^\n]*|/\*.*?\*/", " ", path.read_text(encoding="utf-8"), flags=re.S)
        for m in REQUEST_NAME.finditer(code):
            names.setdefault(m.group(1), set()).add(path)
            name_files.add(path)
            if path.name.startswith("data_kinds."):
                kind_words.add(m.group(1))
    ids = ids_files = calls = 0
    id_files = set()
    for path in files([c for c in CODE if c != "db"] + ["bench"]):
        text = path.read_text(encoding="utf-8")
        n = len(MAILBOX_ID.findall(text))
        if n:
            ids += n
            id_files.add(path)
        calls += len(MAILBOX_CALL.findall(text))
    print(f"request names spelled outside db/: {len(names)} distinct in {len(name_files)} files"
          f" ({len(kind_words)} of them kind words of protocol/data_kinds)")
    print(f"mailbox edit ids named outside db/ (bench included): {ids} in {len(id_files)} files")
    print(f"mailbox SetText/TakeText/Text calls outside db/ (bench included): {calls}")
    for table, (path, positional) in TABLES.items():
        text = strip(path.read_text(encoding="utf-8")) if path.exists() else ""
        print(f"positional rows of {table}: {len(re.findall(positional, text))}")
    long_functions = []
    long_files = []
    for path in files(CODE + ["tools", "bench"]):
        lines = path.read_text(encoding="utf-8").count("\n")
        if lines > MAX_FILE:
            long_files.append((path, lines))
        for name, first, count in functions(path):
            if count > MAX_FUNCTION:
                long_functions.append((path, first, name, count))
    print(f"functions over {MAX_FUNCTION} lines (tests aside): {len(long_functions)}")
    if long:
        for path, first, name, count in long_functions:
            print(f"  {path}:{first}: {name} {count}")
    print(f"files over {MAX_FILE} lines (tests aside): {len(long_files)}")
    if long:
        for path, lines in long_files:
            print(f"  {path}: {lines}")


if __name__ == "__main__":
    main()
