#!/usr/bin/env bash
# Structure checks, run by CI before the tests:
#  1. protocol/ includes nothing above it: only the standard library and
#     "platform/..." or "protocol/..." headers. ethernet/ and serial/ do not
#     include each other nor shell/, and transfer/, which both use, includes
#     neither.
#  2. No class or struct in the application folders below has more than 25
#     public operations. An operation is a member function declared in a public
#     section of the class body (the default section of a struct counts):
#     virtual, static and operator functions are counted; constructors,
#     destructors, functions declared "= delete", friends and nested types are
#     not. Declarations are counted, so an overload set counts each overload.
#  3. CCalvornView declares no data member in a public section: every public
#     statement of its body is a function (or a type or using declaration).
#  4. No code outside grid/ (tests included) names the grid's pick state
#     fields: hosts reach it through CGridCtrl's pick operations.
#  5. No kind, command or scope word is compared (== or != with the quoted
#     word) outside protocol/data_kinds.cpp, which parses and spells them: the
#     rest of the code compares DataKind, TransferCommand and TransferScope.
#     The request names by which the database worker's replies are routed are
#     a vocabulary of their own (some spelled like a screen's kind word) and
#     are not looked at in the two files that route them.
#     Nor is the work screen's hint compared as a kind (Hint() or m_nHint
#     with == or !=, or int kind constants named kKind...): the screen parses
#     it once (SetHint, through the table of screens) and its parts compare
#     HintKind().
#  6. The Item table's value columns are spelled in db/item_schema.h only: a
#     file of the code (tests aside) that names four or more of them, quoted or
#     bracketed outside comments, spells the list again. So is the Preset
#     table's page column: a file that names it spells the Preset columns.
#  7. No message-map entry (OnCommandMsg, OnControl, OnControlRange,
#     OnNotifyMsg, OnNotifyRange, OnUpdateCommand, OnCommandRange) and no DDX_
#     call of the application folders names a control by a bare number of
#     three or more digits: the ids are named in resources/calvorn_ids.h and
#     resources/tarnel_ids.h, which the resource scripts share.
#  8. No class in screens/ has more than 60 members in all: member functions
#     (as counted in 2, but in every section) and data members; the work
#     screen CKindOfView itself at most 79 member functions and 39 data
#     members.
#  9. No one-statement forwarder in screens/: a member function whose body
#     only calls the same-named function of a member, a part or an accessor
#     (m_part.F(...), m_p->F(...), Part().F(...)). A command goes to the part
#     that owns it through the message routing; a part that needs another
#     part's operation takes that part. A virtual of a folder below screens/
#     (the framework's hooks, the transports' and the database's seams) may
#     be implemented so.
# 10. A part of the work screen is registered in one place: the view's files
#     (screens/kind_of_view*.cpp) call no part's DoDataExchange; the parts'
#     come through m_parts (CCommandParts), beside the form's and the
#     layout's own.
# 11. A panel control of the work screen is declared once, by the part that
#     owns it (id, group, caption in a PanelControl of screens/), and a
#     declared caption is the control's only one: no SetDlgItemText in
#     screens/ names a control declared with a caption.
# 12. screens/ maps no data kind to an item database table: it names none of
#     kTableItem, kTableAdd, kTableAdv and kTableLandAdd (db/kind_table.h
#     gives a kind's table and columns).
# 13. A table with one entry per Item value column is counted by its
#     entries: no array of the code sized kItemValueCount or
#     kItemSettingCount is initialised with a brace list (std::to_array and a
#     static_assert make a missing entry fail the build), but the schema's
#     own list in db/item_schema.h.
# 14. One order type: TransferOrder (transfer/transfer_order.h) is the only
#     type of the application folders that describes a transfer. No other
#     class or struct is named ...Order, nor holds a command (TransferCommand),
#     a kind (DataKind) and its scales among its data members: a list of
#     scales (a std::vector of CString, std::string or OrderScale) or a text
#     that holds them (a string member named ...Scales..., ...ScaleList...
#     or ...ScaleIds...).
# 15. No request name of the database workers ("Item_Read", "Pre_Read" ...)
#     is spelled as a string outside db/ (db/db_request.h names them once,
#     DbRequest their type), tests aside. protocol/data_kinds.cpp, whose kind
#     words are a vocabulary of their own (the sales totals' words are spelled
#     as their reads are named), is not looked at.
# 16. No code outside db/ (tests aside) names the mailbox's edits
#     (IDC_MAILBOX_...): the workers' typed calls and the mailbox's query
#     write and read them.
# 17. The rows of the tables of data kinds, screens, Item columns and screen
#     panels name their fields (designated initializers): a row that opens
#     with its first field's value is refused (scripts/structure_counts.py
#     holds the patterns and counts them).
# Prints one line per finding and exits 1 when there is any; --list also
# prints every class's count.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 - "$@" <<'EOF'
import pathlib
import re
import sys

MAX_PUBLIC = 25
# The folders of the code (platform/ aside), the one list every rule walks;
# the folders below screens/ come before it.
CODE_FOLDERS = ["protocol", "db", "controls", "grid", "shell", "transfer", "ethernet", "serial", "results", "screens",
                "labeltool", "app"]
BELOW_SCREENS = CODE_FOLDERS[: CODE_FOLDERS.index("screens")]
# The application folders: those of the two programs' own classes.
APP_FOLDERS = [f for f in CODE_FOLDERS if f not in ("protocol", "db", "controls", "grid", "app")]
# Classes allowed above the limit, with their limit; none today.
EXCEPTIONS = {}

findings = []

KIND_WORDS = [
    "Item", "Add", "Adv", "Land_addition", "USER_LABEL", "User_Label_Read", "Pre", "SCALE_INFOMATION",
    "Scale_Info", "SCALE_ROOT_INFOMATION", "Scale_Root_Info", r"Scale_Result_\w+", "TRANS", "BROAD_TRANS",
    "RECV", "all", "select",
]
KIND_PARSE = pathlib.Path("protocol/data_kinds.cpp")
REQUEST_ROUTERS = {pathlib.Path("screens/table_load.cpp"), pathlib.Path("db/db_request_worker.cpp")}
word = '"(?:' + "|".join(KIND_WORDS) + ')"'
COMPARISON = re.compile(r"(?:==|!=)\s*" + word + "|" + word + r"\s*(?:==|!=)")
HINT_AS_KIND = re.compile(
    r"\b(?:Hint\(\)|m_nHint)\s*[!=]=|[!=]=\s*(?:\w+(?:\.|->))?(?:Hint\(\)|m_nHint)\b"
    r"|\bkKind(?:Item|Add|Adv|LandAdd|UserLabel|Preset|ScaleInfo|ScaleRootInfo)\b"
)
for folder in CODE_FOLDERS:
    for path in sorted(pathlib.Path(folder).rglob("*")):
        if path.suffix not in (".h", ".cpp") or path == KIND_PARSE or path in REQUEST_ROUTERS:
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            if COMPARISON.search(line):
                findings.append(f"{path}:{number}: a kind word compared outside the parse: {line.strip()}")
            if HINT_AS_KIND.search(line):
                findings.append(f"{path}:{number}: the hint compared as a kind: {line.strip()}")

# What each folder may not include: protocol/ nothing above it; the two
# transports not each other nor the shell above them, nor the shared transfer
# layer either of them.
BELOW = {
    "protocol": lambda inc: not inc.startswith(("platform/", "protocol/")),
    "transfer": lambda inc: inc.startswith(("ethernet/", "serial/", "screens/", "shell/", "results/")),
    "ethernet": lambda inc: inc.startswith(("serial/", "shell/")),
    "serial": lambda inc: inc.startswith(("ethernet/", "shell/")),
}
for folder, forbidden in BELOW.items():
    for path in sorted(pathlib.Path(folder).rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            m = re.match(r'\s*#\s*include\s*"([^"]+)"', line)
            if m and forbidden(m.group(1)):
                findings.append(f"{path}:{number}: {folder}/ includes {m.group(1)}")


def strip(text):
    """Comments, string and character literals and preprocessor lines blanked."""
    text = re.sub(r"//[^\n]*|/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r'"(\\.|[^"\\\n])*"' + r"|'(\\.|[^'\\\n])*'", '""', text)
    return re.sub(r"^\s*#[^\n]*", " ", text, flags=re.M)


def matching(text, i):
    """Index just past the brace that closes the one at text[i]."""
    depth = 0
    for j in range(i, len(text)):
        if text[j] == "{":
            depth += 1
        elif text[j] == "}":
            depth -= 1
            if depth == 0:
                return j + 1
    return len(text)


def collapse_templates(s):
    prev = None
    while prev != s:
        prev, s = s, re.sub(r"<[^<>;{}()]*>", "", s)
    return s


def is_operation(statement, name):
    s = collapse_templates(" ".join(statement.split()))
    if re.match(r"(friend|using|typedef|static_assert|enum|class|struct|union)\b", s):
        return False
    if re.search(r"=\s*delete\s*$", s):
        return False
    m = re.search(r"(operator\s*[^\s(]+|~?\w+)\s*\(", s)
    if not m or "=" in s[: m.start()]:
        return False
    function = m.group(1)
    return function not in (name, "~" + name)


CLASS = re.compile(r"\b(class|struct)\s+(\w+)\s*(final\s*)?(:[^;{()]*)?\{")


def public_statements(body, keyword):
    """The statements of a class body's public sections, one per declaration
    (a function with its body counts as one)."""
    public = keyword == "struct"
    i = 0
    statement = ""
    while i < len(body):
        c = body[i]
        if c == "{":
            if re.search(r"\)[^;]*$", statement) or re.search(r"\b(class|struct|enum|union)\b", statement):
                # A function body or a nested type: up to its end.
                i = matching(body, i)
                if re.search(r"\)[^;]*$", statement) and not re.search(r"\b(class|struct|enum|union)\b", statement):
                    if public:
                        yield statement
                    statement = ""
                continue
            # A brace initialiser of a member: part of the statement.
            end = matching(body, i)
            statement += body[i:end]
            i = end
            continue
        if c == ";":
            if public:
                yield statement
            statement = ""
        elif c == ":" and body[i + 1 : i + 2] != ":" and body[i - 1 : i] != ":":
            label = statement.strip()
            if label in ("public", "protected", "private"):
                public = label == "public"
                statement = ""
                i += 1
                continue
            statement += c
        else:
            statement += c
        i += 1


def count_public(body, keyword, name):
    return sum(1 for s in public_statements(body, keyword) if is_operation(s, name))


def public_data(body, keyword):
    """Public statements that declare data members: neither a function nor a
    type, friend or using declaration."""
    found = []
    for statement in public_statements(body, keyword):
        s = collapse_templates(" ".join(statement.split()))
        function = re.search(r"\w\s*\(", s) and "=" not in s.split("(")[0]
        typelike = re.match(r"(friend|using|typedef|static_assert|enum|class|struct|union)\b", s)
        if s and not function and not typelike:
            found.append(s)
    return found


for folder in APP_FOLDERS:
    for path in sorted(pathlib.Path(folder).rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        text = strip(path.read_text(encoding="utf-8"))
        for m in CLASS.finditer(text):
            start = m.end() - 1
            body = text[start + 1 : matching(text, start) - 1]
            name = m.group(2)
            count = count_public(body, m.group(1), name)
            if name == "CCalvornView":
                for data in public_data(body, m.group(1)):
                    findings.append(f"{path}: {name} has public data: {data}")
            if "--list" in sys.argv:
                print(f"{count:3} {name} {path}")
            allowed = EXCEPTIONS.get(name, MAX_PUBLIC)
            if count > allowed:
                findings.append(f"{path}: {name} has {count} public operations (at most {allowed})")

PICK_FIELDS = re.compile(
    r"\bm_(PickList|nAnchorRowA|nAnchorRowB|nDownRow|nUpRow|nClickRow|bAnchorToggle|bCtrlPick"
    r"|bShiftPick|PickSortKeys|PickSortIndex|bKeepFocus)\b"
)
# Other classes may have members of these names: a use is a member access.
PICK_ACCESS = re.compile(r"(\.|->)\s*" + PICK_FIELDS.pattern)
for top in sorted(pathlib.Path(".").iterdir()):
    if not top.is_dir() or top.name in ("grid", "build") or top.name.startswith("."):
        continue
    for path in sorted(top.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        for number, line in enumerate(strip(path.read_text(encoding="utf-8")).splitlines(), 1):
            if m := PICK_ACCESS.search(line):
                findings.append(f"{path}:{number}: names the grid's pick field m_{m.group(2)}")

SCHEMA = pathlib.Path("db/item_schema.h")
schema_text = SCHEMA.read_text(encoding="utf-8")
schema = re.search(r"kItemValueColumns\s*=\s*\{([^}]*)\}", schema_text)
ITEM_COLUMN = re.compile(r'["\[](' + "|".join(re.findall(r'"(\w+)"', schema.group(1))) + r')["\]]')
PRESET_PAGE = re.compile(r'["\[]' + re.search(r'kPresetPage\s*=\s*"(\w+)"', schema_text).group(1) + r'["\]]')
for folder in CODE_FOLDERS:
    for path in sorted(pathlib.Path(folder).rglob("*")):
        if path.suffix not in (".h", ".cpp") or path == SCHEMA:
            continue
        code = re.sub(r"//[^\n]*|/\*.*?\*/", " ", path.read_text(encoding="utf-8"), flags=re.S)
        named = set(ITEM_COLUMN.findall(code))
        if len(named) >= 4:
            findings.append(f"{path}: spells {len(named)} of the Item columns (db/item_schema.h holds them)")
        if PRESET_PAGE.search(code):
            findings.append(f"{path}: spells the Preset columns (db/item_schema.h holds them)")

# Control ids by name in message-map entries and DDX_ calls.
MAP_ENTRY = re.compile(
    r"\b(?:OnCommandMsg|OnControl|OnControlRange|OnNotifyMsg|OnNotifyRange|OnUpdateCommand|OnCommandRange)\b\s*"
)
DDX_CALL = re.compile(r"\bDDX_\w+\(\s*\w+\s*,\s*\d{3,}\b")
LITERAL_ID = re.compile(r"(?:^|,)\s*\d{3,}\s*(?=,|$)")


def closing(text, i, open_char, close_char):
    """Index just past the bracket that closes the one at text[i]."""
    depth = 0
    for j in range(i, len(text)):
        depth += (text[j] == open_char) - (text[j] == close_char)
        if depth == 0:
            return j + 1
    return len(text)


def entry_arguments(text, end):
    """The argument list of a message-map entry whose name ends at end, or None."""
    if text.startswith("<", end):
        end = closing(text, end, "<", ">")
    if not text.startswith("(", end):
        return None
    return text[end + 1 : closing(text, end, "(", ")") - 1]


for folder in APP_FOLDERS + ["db", "controls", "app"]:
    for path in sorted(pathlib.Path(folder).rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        text = strip(path.read_text(encoding="utf-8"))
        spots = [m.start() for m in MAP_ENTRY.finditer(text)
                 if LITERAL_ID.search(entry_arguments(text, m.end()) or "")]
        spots += [m.start() for m in DDX_CALL.finditer(text)]
        for spot in sorted(spots):
            line = text.count("\n", 0, spot) + 1
            findings.append(f"{path}:{line}: a control id by number (resources/*_ids.h names them)")

MAX_MEMBERS = 60
# The work screen itself: the framework's overrides and the parts it holds.
MEMBER_EXCEPTIONS = {"CKindOfView": (79, 39)}


def all_statements(body):
    """Every statement of a class body, whatever its section."""
    return public_statements(re.sub(r"\b(?:public|protected|private)\s*:(?!:)", " ", body), "struct")


def count_members(body, name):
    """(member functions, data members) of a class body."""
    methods = fields = 0
    for statement in all_statements(body):
        s = collapse_templates(" ".join(statement.split()))
        if not s or re.match(r"(friend|using|typedef|static_assert|enum|class|struct|union)\b", s):
            continue
        if is_operation(statement, name):
            methods += 1
        elif not re.search(r"(operator\s*[^\s(]+|~?\w+)\s*\(", s) or "=" in s.split("(")[0]:
            fields += 1
    return methods, fields


FORWARDER = re.compile(
    r"\b(\w+)\s*\([^()]*\)\s*(?:const\s*)?(?:override\s*)?\{\s*(?:return\s+)?"
    r"\*?\w+(?:\(\))?\s*(?:\.|->)\s*\1\s*\([^;{}()]*\)\s*;\s*\}"
)
SEAMS = set()
for folder in ["platform"] + BELOW_SCREENS:
    for path in pathlib.Path(folder).rglob("*.h"):
        SEAMS.update(re.findall(r"\bvirtual\b[^;(]*?\b(\w+)\s*\(", strip(path.read_text(encoding="utf-8"))))
for path in sorted(pathlib.Path("screens").rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    text = strip(path.read_text(encoding="utf-8"))
    for m in CLASS.finditer(text):
        start = m.end() - 1
        body = text[start + 1 : matching(text, start) - 1]
        methods, fields = count_members(body, m.group(2))
        if m.group(2) in MEMBER_EXCEPTIONS:
            most_methods, most_fields = MEMBER_EXCEPTIONS[m.group(2)]
            if methods > most_methods or fields > most_fields:
                findings.append(f"{path}: {m.group(2)} has {methods} member functions and {fields} data members"
                                f" (at most {most_methods} and {most_fields})")
        elif methods + fields > MAX_MEMBERS:
            findings.append(f"{path}: {m.group(2)} has {methods + fields} members (at most {MAX_MEMBERS})")
    for m in FORWARDER.finditer(text):
        if m.group(1) in SEAMS:
            continue
        number = text.count("\n", 0, m.start()) + 1
        findings.append(f"{path}:{number}: {m.group(1)} only hands on to the same-named function of a part")

# 10: the view's data exchange takes its parts through m_parts.
for path in sorted(pathlib.Path("screens").glob("kind_of_view*.cpp")):
    text = strip(path.read_text(encoding="utf-8"))
    for m in re.finditer(r"([\w:>.-]*?)\bDoDataExchange\s*\(", text):
        caller = m.group(1)
        if caller in ("", "CKindOfView::", "CFormView::", "m_parts.", "m_layout."):
            continue
        number = text.count("\n", 0, m.start()) + 1
        findings.append(f"{path}:{number}: the view calls a part's DoDataExchange (register it in m_parts)")

# 11: panel controls declared once, captioned by their declarations.
PANEL_DECLARATION = re.compile(r"\{\s*(\w+)\s*,\s*PanelGroup::\w+\s*,\s*(\"\"|nullptr)")
declared = {}
for path in sorted(pathlib.Path("screens").rglob("*.cpp")):
    text = strip(path.read_text(encoding="utf-8"))
    for m in PANEL_DECLARATION.finditer(text):
        if m.group(1) in declared:
            findings.append(f"{path}: panel control {m.group(1)} declared again (first in {declared[m.group(1)][0]})")
        declared.setdefault(m.group(1), (path, m.group(2) != "nullptr"))
for path in sorted(pathlib.Path("screens").rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    text = strip(path.read_text(encoding="utf-8"))
    for m in re.finditer(r"\bSetDlgItemText\s*\(\s*(\w+)", text):
        if m.group(1) in declared and declared[m.group(1)][1]:
            number = text.count("\n", 0, m.start()) + 1
            findings.append(f"{path}:{number}: captions panel control {m.group(1)} (its declaration holds it)")

# 12: no kind-to-table map in screens/.
for path in sorted(pathlib.Path("screens").rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    text = strip(path.read_text(encoding="utf-8"))
    for m in re.finditer(r"\bkTable(?:Item|Add|Adv|LandAdd)\b", text):
        number = text.count("\n", 0, m.start()) + 1
        findings.append(f"{path}:{number}: names {m.group(0)} (db/kind_table.h maps a kind to its table)")

# 13: per-column tables counted by their entries.
COUNTED_ARRAY = re.compile(
    r"(?:\[\s*(?:kItemValueCount|kItemSettingCount)[^\]]*\]|,\s*(?:kItemValueCount|kItemSettingCount)\s*>)"
    r"\s*(?:\w+\s*)?=?\s*\{"
)
for folder in CODE_FOLDERS:
    for path in sorted(pathlib.Path(folder).rglob("*")):
        if path.suffix not in (".h", ".cpp") or path == SCHEMA:
            continue
        text = strip(path.read_text(encoding="utf-8"))
        for m in COUNTED_ARRAY.finditer(text):
            number = text.count("\n", 0, m.start()) + 1
            findings.append(f"{path}:{number}: a table sized by the Item columns takes a brace list (use std::to_array)")
# 14: one transfer order type.
ORDER_FILE = pathlib.Path("transfer/transfer_order.h")
SCALE_LIST = re.compile(r"\bstd::vector\s*<\s*(?:CString|std::string|OrderScale)\s*>")
# Scales held as text: a string member named for the scales (plural) or
# their list or IDs, such as "07,08".
SCALES_AS_TEXT = re.compile(r"\b(?:CString|std::string|std::string_view|const\s+char\s*\*)\s*"
                            r"\w*[Ss]cale(?:s|List|Ids?)\w*\s*(?:[;={]|$)")
for folder in APP_FOLDERS:
    for path in sorted(pathlib.Path(folder).rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        text = strip(path.read_text(encoding="utf-8"))
        for m in CLASS.finditer(text):
            name = m.group(2)
            if path == ORDER_FILE and name == "TransferOrder":
                continue
            start = m.end() - 1
            fields = []
            for statement in all_statements(text[start + 1 : matching(text, start) - 1]):
                s = " ".join(statement.split())
                if s and not re.match(r"(friend|using|typedef|static_assert|enum|class|struct|union)\b", s) \
                        and not is_operation(statement, name) and not re.search(r"\w\s*\(", s.split("=")[0]):
                    fields.append(s)
            holds = lambda pattern: any(re.search(pattern, f) for f in fields)
            scales = any(SCALE_LIST.search(f) or SCALES_AS_TEXT.search(f) for f in fields)
            if name.endswith("Order") or (holds(r"\bTransferCommand\b") and holds(r"\bDataKind\b") and scales):
                findings.append(f"{path}: {name} is a second order type (transfer/transfer_order.h"
                                f" holds TransferOrder)")

# 15-17 read the code with its lines kept.
sys.path.insert(0, "scripts")
from structure_counts import TABLES, strip as strip_kept_lines  # noqa: E402

# 15 and 16: request names spelled, and the mailbox's edits named, in db/ only.
REQUEST_NAMES = set(re.findall(r'\{\s*R::\w+\s*,\s*"(\w+)"\s*\}',
                               pathlib.Path("db/db_request.h").read_text(encoding="utf-8")))
LITERAL = re.compile(r'"((?:\\.|[^"\\\n])*)"')
for folder in [f for f in CODE_FOLDERS if f != "db"] + ["bench", "tools"]:
    for path in sorted(pathlib.Path(folder).rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        source = path.read_text(encoding="utf-8")
        code = re.sub(r"//[^\n]*|/\*.*?\*/", lambda m: re.sub(r"[^\n]", " ", m.group(0)), source, flags=re.S)
        spelled = [] if path == KIND_PARSE else [m for m in LITERAL.finditer(code) if m.group(1) in REQUEST_NAMES]
        for m in spelled:
            findings.append(f"{path}:{code.count(chr(10), 0, m.start()) + 1}: spells the request name {m.group(1)}"
                            " (db/db_request.h)")
        text = strip_kept_lines(source)
        for m in re.finditer(r"\bIDC_MAILBOX_\w+", text):
            findings.append(f"{path}:{text.count(chr(10), 0, m.start()) + 1}: names the mailbox edit {m.group(0)}"
                            " (db/ writes and reads them)")

# 17: the tables' rows name their fields.
for table, (path, positional) in TABLES.items():
    text = strip_kept_lines(path.read_text(encoding="utf-8"))
    for m in re.finditer(positional, text):
        number = text.count("\n", 0, m.start()) + 1
        findings.append(f"{path}:{number}: a row of {table} read by position (name its fields)")

for finding in findings:
    print(finding)
if findings:
    sys.exit(1)
print("structure checks passed")
EOF
