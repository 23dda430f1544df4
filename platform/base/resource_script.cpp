// Resource script parser.
//
// A script is UTF-8 text, one statement per line; "//" starts a comment outside
// quotes; blank lines are ignored. Blocks open with a keyword line and close with
// a line "END".
//
//   DIALOG <id> <x> <y> <cx> <cy>             dialog units
//     CAPTION "<text>"                         adds WS_CAPTION
//     STYLE <styles>                           default WS_POPUP | WS_BORDER | WS_SYSMENU
//     EXSTYLE <styles>
//     FONT <points> "<face>" [<weight> [<italic> [<charset>]]]   adds DS_SETFONT
//     MENU <id>
//     CLASS "<name>"
//     CONTROL <id> <class> <text> <x> <y> <cx> <cy> [<styles> [<exstyles>]]
//   END
//     <class> is a word or a string; <text> a string, or a number naming an icon or
//     bitmap resource. A control's style always has WS_CHILD and, unless cleared
//     with NOT, WS_VISIBLE.
//
//   MENU <id>
//     POPUP "<text>" [<flags>]   ... END
//     ITEM <id> "<text>" [<flags>]         flags: GRAYED INACTIVE CHECKED
//     SEPARATOR                                   MENUBREAK MENUBARBREAK HELP
//   END
//
//   ACCELERATORS <id>
//     KEY <command> <key> [VIRTKEY | ASCII] [CONTROL] [SHIFT] [ALT] [NOINVERT]
//   END
//     <key>: "c" (one character), "^c" (control character), a VK_ name or a number.
//
//   STRINGTABLE
//     <id> "<text>"
//   END
//
//   TOOLBAR <id> <button cx> <button cy> [BITMAP <bitmap id>]
//     BUTTON <command>
//     SEPARATOR
//   END
//
// <styles> is NAME-or-number terms joined by "|"; "NOT term" clears bits. Numbers
// are decimal or 0x hex, optionally negative. <id> may also be IDOK, IDCANCEL,
// IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDCLOSE, IDHELP or IDC_STATIC (0xFFFF).
// The build puts numbers in for the programs' other id names (resource_names.h).
// Strings take the escapes \" \\ \n \r \t.

#include "platform/base/resource_script.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/base/resource.h"

namespace {

struct NamedValue {
    const char* name;
    DWORD value;
};

// Style names the scripts use, with their Windows values.
constexpr NamedValue kStyleNames[] = {
    { "WS_OVERLAPPED", 0x00000000 },
    { "WS_POPUP", 0x80000000 },
    { "WS_CHILD", 0x40000000 },
    { "WS_MINIMIZE", 0x20000000 },
    { "WS_VISIBLE", 0x10000000 },
    { "WS_DISABLED", 0x08000000 },
    { "WS_CLIPSIBLINGS", 0x04000000 },
    { "WS_CLIPCHILDREN", 0x02000000 },
    { "WS_MAXIMIZE", 0x01000000 },
    { "WS_CAPTION", 0x00C00000 },
    { "WS_BORDER", 0x00800000 },
    { "WS_DLGFRAME", 0x00400000 },
    { "WS_VSCROLL", 0x00200000 },
    { "WS_HSCROLL", 0x00100000 },
    { "WS_SYSMENU", 0x00080000 },
    { "WS_THICKFRAME", 0x00040000 },
    { "WS_GROUP", 0x00020000 },
    { "WS_TABSTOP", 0x00010000 },
    { "WS_MINIMIZEBOX", 0x00020000 },
    { "WS_MAXIMIZEBOX", 0x00010000 },
    { "WS_OVERLAPPEDWINDOW", 0x00CF0000 },
    { "WS_POPUPWINDOW", 0x80880000 },
    { "WS_EX_DLGMODALFRAME", 0x1 },
    { "WS_EX_NOPARENTNOTIFY", 0x4 },
    { "WS_EX_TOPMOST", 0x8 },
    { "WS_EX_ACCEPTFILES", 0x10 },
    { "WS_EX_TRANSPARENT", 0x20 },
    { "WS_EX_TOOLWINDOW", 0x80 },
    { "WS_EX_WINDOWEDGE", 0x100 },
    { "WS_EX_CLIENTEDGE", 0x200 },
    { "WS_EX_CONTEXTHELP", 0x400 },
    { "WS_EX_RIGHT", 0x1000 },
    { "WS_EX_CONTROLPARENT", 0x10000 },
    { "WS_EX_STATICEDGE", 0x20000 },
    { "WS_EX_APPWINDOW", 0x40000 },
    { "DS_ABSALIGN", 0x1 },
    { "DS_SYSMODAL", 0x2 },
    { "DS_3DLOOK", 0x4 },
    { "DS_FIXEDSYS", 0x8 },
    { "DS_NOFAILCREATE", 0x10 },
    { "DS_LOCALEDIT", 0x20 },
    { "DS_SETFONT", 0x40 },
    { "DS_MODALFRAME", 0x80 },
    { "DS_NOIDLEMSG", 0x100 },
    { "DS_SETFOREGROUND", 0x200 },
    { "DS_CONTROL", 0x400 },
    { "DS_CENTER", 0x800 },
    { "DS_CENTERMOUSE", 0x1000 },
    { "DS_CONTEXTHELP", 0x2000 },
    { "ES_LEFT", 0x0 },
    { "ES_CENTER", 0x1 },
    { "ES_RIGHT", 0x2 },
    { "ES_MULTILINE", 0x4 },
    { "ES_UPPERCASE", 0x8 },
    { "ES_LOWERCASE", 0x10 },
    { "ES_PASSWORD", 0x20 },
    { "ES_AUTOVSCROLL", 0x40 },
    { "ES_AUTOHSCROLL", 0x80 },
    { "ES_NOHIDESEL", 0x100 },
    { "ES_OEMCONVERT", 0x400 },
    { "ES_READONLY", 0x800 },
    { "ES_WANTRETURN", 0x1000 },
    { "ES_NUMBER", 0x2000 },
    { "BS_PUSHBUTTON", 0x0 },
    { "BS_DEFPUSHBUTTON", 0x1 },
    { "BS_CHECKBOX", 0x2 },
    { "BS_AUTOCHECKBOX", 0x3 },
    { "BS_RADIOBUTTON", 0x4 },
    { "BS_3STATE", 0x5 },
    { "BS_AUTO3STATE", 0x6 },
    { "BS_GROUPBOX", 0x7 },
    { "BS_USERBUTTON", 0x8 },
    { "BS_AUTORADIOBUTTON", 0x9 },
    { "BS_OWNERDRAW", 0xB },
    { "BS_LEFTTEXT", 0x20 },
    { "BS_TEXT", 0x0 },
    { "BS_ICON", 0x40 },
    { "BS_BITMAP", 0x80 },
    { "BS_LEFT", 0x100 },
    { "BS_RIGHT", 0x200 },
    { "BS_CENTER", 0x300 },
    { "BS_TOP", 0x400 },
    { "BS_BOTTOM", 0x800 },
    { "BS_VCENTER", 0xC00 },
    { "BS_PUSHLIKE", 0x1000 },
    { "BS_MULTILINE", 0x2000 },
    { "BS_NOTIFY", 0x4000 },
    { "BS_FLAT", 0x8000 },
    { "SS_LEFT", 0x0 },
    { "SS_CENTER", 0x1 },
    { "SS_RIGHT", 0x2 },
    { "SS_ICON", 0x3 },
    { "SS_BLACKRECT", 0x4 },
    { "SS_GRAYRECT", 0x5 },
    { "SS_WHITERECT", 0x6 },
    { "SS_BLACKFRAME", 0x7 },
    { "SS_GRAYFRAME", 0x8 },
    { "SS_WHITEFRAME", 0x9 },
    { "SS_SIMPLE", 0xB },
    { "SS_LEFTNOWORDWRAP", 0xC },
    { "SS_OWNERDRAW", 0xD },
    { "SS_BITMAP", 0xE },
    { "SS_ETCHEDHORZ", 0x10 },
    { "SS_ETCHEDVERT", 0x11 },
    { "SS_ETCHEDFRAME", 0x12 },
    { "SS_NOPREFIX", 0x80 },
    { "SS_NOTIFY", 0x100 },
    { "SS_CENTERIMAGE", 0x200 },
    { "SS_RIGHTJUST", 0x400 },
    { "SS_REALSIZEIMAGE", 0x800 },
    { "SS_SUNKEN", 0x1000 },
    { "SS_ENDELLIPSIS", 0x4000 },
    { "LBS_NOTIFY", 0x1 },
    { "LBS_SORT", 0x2 },
    { "LBS_NOREDRAW", 0x4 },
    { "LBS_MULTIPLESEL", 0x8 },
    { "LBS_OWNERDRAWFIXED", 0x10 },
    { "LBS_OWNERDRAWVARIABLE", 0x20 },
    { "LBS_HASSTRINGS", 0x40 },
    { "LBS_USETABSTOPS", 0x80 },
    { "LBS_NOINTEGRALHEIGHT", 0x100 },
    { "LBS_MULTICOLUMN", 0x200 },
    { "LBS_WANTKEYBOARDINPUT", 0x400 },
    { "LBS_EXTENDEDSEL", 0x800 },
    { "LBS_DISABLENOSCROLL", 0x1000 },
    { "LBS_NOSEL", 0x4000 },
    { "LBS_STANDARD", 0xA00003 },
    { "CBS_SIMPLE", 0x1 },
    { "CBS_DROPDOWN", 0x2 },
    { "CBS_DROPDOWNLIST", 0x3 },
    { "CBS_OWNERDRAWFIXED", 0x10 },
    { "CBS_OWNERDRAWVARIABLE", 0x20 },
    { "CBS_AUTOHSCROLL", 0x40 },
    { "CBS_OEMCONVERT", 0x80 },
    { "CBS_SORT", 0x100 },
    { "CBS_HASSTRINGS", 0x200 },
    { "CBS_NOINTEGRALHEIGHT", 0x400 },
    { "CBS_DISABLENOSCROLL", 0x800 },
    { "CBS_UPPERCASE", 0x2000 },
    { "CBS_LOWERCASE", 0x4000 },
    { "SBS_HORZ", 0x0 },
    { "SBS_VERT", 0x1 },
    { "LVS_ICON", 0x0 },
    { "LVS_REPORT", 0x1 },
    { "LVS_SMALLICON", 0x2 },
    { "LVS_LIST", 0x3 },
    { "LVS_SINGLESEL", 0x4 },
    { "LVS_SHOWSELALWAYS", 0x8 },
    { "LVS_SORTASCENDING", 0x10 },
    { "LVS_SORTDESCENDING", 0x20 },
    { "LVS_SHAREIMAGELISTS", 0x40 },
    { "LVS_NOLABELWRAP", 0x80 },
    { "LVS_AUTOARRANGE", 0x100 },
    { "LVS_EDITLABELS", 0x200 },
    { "LVS_OWNERDRAWFIXED", 0x400 },
    { "LVS_ALIGNLEFT", 0x800 },
    { "LVS_OWNERDATA", 0x1000 },
    { "LVS_NOSCROLL", 0x2000 },
    { "LVS_NOCOLUMNHEADER", 0x4000 },
    { "LVS_NOSORTHEADER", 0x8000 },
    { "TVS_HASBUTTONS", 0x1 },
    { "TVS_HASLINES", 0x2 },
    { "TVS_LINESATROOT", 0x4 },
    { "TVS_EDITLABELS", 0x8 },
    { "TVS_DISABLEDRAGDROP", 0x10 },
    { "TVS_SHOWSELALWAYS", 0x20 },
    { "TVS_NOTOOLTIPS", 0x80 },
    { "TVS_CHECKBOXES", 0x100 },
    { "TVS_TRACKSELECT", 0x200 },
    { "TVS_SINGLEEXPAND", 0x400 },
    { "TVS_FULLROWSELECT", 0x1000 },
    { "DTS_SHORTDATEFORMAT", 0x0 },
    { "DTS_UPDOWN", 0x1 },
    { "DTS_SHOWNONE", 0x2 },
    { "DTS_LONGDATEFORMAT", 0x4 },
    { "DTS_TIMEFORMAT", 0x9 },
    { "DTS_APPCANPARSE", 0x10 },
    { "DTS_RIGHTALIGN", 0x20 },
    { "PBS_SMOOTH", 0x1 },
    { "PBS_VERTICAL", 0x4 },
    { "UDS_WRAP", 0x1 },
    { "UDS_SETBUDDYINT", 0x2 },
    { "UDS_ALIGNRIGHT", 0x4 },
    { "UDS_ALIGNLEFT", 0x8 },
    { "UDS_AUTOBUDDY", 0x10 },
    { "UDS_ARROWKEYS", 0x20 },
    { "UDS_HORZ", 0x40 },
    { "UDS_NOTHOUSANDS", 0x80 },
};

constexpr NamedValue kIdNames[] = {
    { "IDOK", 1 },
    { "IDCANCEL", 2 },
    { "IDABORT", 3 },
    { "IDRETRY", 4 },
    { "IDIGNORE", 5 },
    { "IDYES", 6 },
    { "IDNO", 7 },
    { "IDCLOSE", 8 },
    { "IDHELP", 9 },
    { "IDC_STATIC", 0xFFFF },
};

constexpr NamedValue kVirtualKeyNames[] = {
    { "VK_BACK", 0x08 },
    { "VK_TAB", 0x09 },
    { "VK_RETURN", 0x0D },
    { "VK_SHIFT", 0x10 },
    { "VK_CONTROL", 0x11 },
    { "VK_MENU", 0x12 },
    { "VK_PAUSE", 0x13 },
    { "VK_ESCAPE", 0x1B },
    { "VK_SPACE", 0x20 },
    { "VK_PRIOR", 0x21 },
    { "VK_NEXT", 0x22 },
    { "VK_END", 0x23 },
    { "VK_HOME", 0x24 },
    { "VK_LEFT", 0x25 },
    { "VK_UP", 0x26 },
    { "VK_RIGHT", 0x27 },
    { "VK_DOWN", 0x28 },
    { "VK_INSERT", 0x2D },
    { "VK_DELETE", 0x2E },
    { "VK_HELP", 0x2F },
    { "VK_APPS", 0x5D },
    { "VK_MULTIPLY", 0x6A },
    { "VK_ADD", 0x6B },
    { "VK_SUBTRACT", 0x6D },
    { "VK_DECIMAL", 0x6E },
    { "VK_DIVIDE", 0x6F },
};

constexpr DWORD kDefaultDialogStyle = 0x80000000 | 0x00800000 | 0x00080000; // POPUP|BORDER|SYSMENU
constexpr DWORD kCaptionStyle = 0x00C00000;
constexpr DWORD kSetFontStyle = 0x40;
constexpr DWORD kChildStyle = 0x40000000;
constexpr DWORD kVisibleStyle = 0x10000000;

std::optional<DWORD> FindName(const NamedValue* table, std::size_t count, std::string_view name)
{
    for (std::size_t i = 0; i < count; ++i)
        if (name.compare(table[i].name) == 0)
            return table[i].value;
    return std::nullopt;
}

template <std::size_t N> std::optional<DWORD> FindName(const NamedValue (&table)[N], std::string_view name)
{
    return FindName(table, N, name);
}

enum class TokenKind { Word, String, Bar };

struct Token {
    TokenKind kind;
    std::string text;
};

// Raised for the statement in error; caught per line.
struct ParseFailure {
    std::string message;
};

[[noreturn]] void Fail(std::string message)
{
    throw ParseFailure { std::move(message) };
}

std::vector<Token> Tokenize(std::string_view line)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == ',') {
            ++i;
        } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            break;
        } else if (c == '|') {
            tokens.push_back({ TokenKind::Bar, "|" });
            ++i;
        } else if (c == '"') {
            std::string text;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    text += d;
                    continue;
                }
                if (i >= line.size())
                    break;
                const char e = line[i++];
                switch (e) {
                case 'n':
                    text += '\n';
                    break;
                case 'r':
                    text += '\r';
                    break;
                case 't':
                    text += '\t';
                    break;
                case '"':
                    text += '"';
                    break;
                case '\\':
                    text += '\\';
                    break;
                default:
                    Fail(std::string("unknown escape \\") + e);
                }
            }
            if (!closed)
                Fail("unterminated string");
            tokens.push_back({ TokenKind::String, std::move(text) });
        } else {
            const std::size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != ','
                && line[i] != '|' && line[i] != '"')
                ++i;
            tokens.push_back({ TokenKind::Word, std::string(line.substr(start, i - start)) });
        }
    }
    return tokens;
}

std::optional<long long> ParseNumber(std::string_view word)
{
    bool negative = false;
    if (!word.empty() && word.front() == '-') {
        negative = true;
        word.remove_prefix(1);
    }
    while (!word.empty()
        && (word.back() == 'L' || word.back() == 'l' || word.back() == 'U' || word.back() == 'u'))
        word.remove_suffix(1);
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        word.remove_prefix(2);
    }
    if (word.empty())
        return std::nullopt;
    unsigned long long value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    if (ec != std::errc() || end != word.data() + word.size() || value > 0xFFFFFFFFull)
        return std::nullopt;
    return negative ? -static_cast<long long>(value) : static_cast<long long>(value);
}

// Cursor over the tokens of one line.
class Line {
public:
    explicit Line(std::vector<Token> tokens)
        : m_tokens(std::move(tokens))
    { }

    bool AtEnd() const { return m_pos >= m_tokens.size(); }
    const Token* Peek() const { return AtEnd() ? nullptr : &m_tokens[m_pos]; }
    bool PeekWord(std::string_view word) const
    {
        const Token* t = Peek();
        return t && t->kind == TokenKind::Word && t->text == word;
    }

    std::string Word(const char* what)
    {
        const Token* t = Peek();
        if (!t || t->kind != TokenKind::Word)
            Fail(std::string("expected ") + what);
        ++m_pos;
        return t->text;
    }

    std::string String(const char* what)
    {
        const Token* t = Peek();
        if (!t || t->kind != TokenKind::String)
            Fail(std::string("expected ") + what + " in double quotes");
        ++m_pos;
        return t->text;
    }

    long long Number(const char* what)
    {
        const std::string word = Word(what);
        const auto value = ParseNumber(word);
        if (!value)
            Fail(std::string("expected ") + what + ", found '" + word + "'");
        return *value;
    }

    int Int(const char* what) { return static_cast<int>(Number(what)); }

    UINT Id(const char* what)
    {
        const Token* t = Peek();
        if (t && t->kind == TokenKind::Word) {
            if (const auto named = FindName(kIdNames, t->text)) {
                ++m_pos;
                return *named;
            }
        }
        const long long value = Number(what);
        if (value == -1)
            return 0xFFFF;
        if (value < 0 || value > 0xFFFF)
            Fail(std::string(what) + " out of range 0..65535");
        return static_cast<UINT>(value);
    }

    // styles := term { "|" term }; term := ["NOT"] (NAME | number). Applied over initial.
    DWORD Styles(DWORD initial)
    {
        DWORD value = initial;
        for (;;) {
            bool negate = false;
            if (PeekWord("NOT")) {
                ++m_pos;
                negate = true;
            }
            const std::string word = Word("a style");
            DWORD bits = 0;
            if (const auto named = FindName(kStyleNames, word))
                bits = *named;
            else if (const auto number = ParseNumber(word))
                bits = static_cast<DWORD>(*number);
            else
                Fail("unknown style '" + word + "'");
            value = negate ? (value & ~bits) : (value | bits);
            const Token* t = Peek();
            if (!t || t->kind != TokenKind::Bar)
                return value;
            ++m_pos;
        }
    }

    void ExpectEnd()
    {
        if (!AtEnd())
            Fail("unexpected '" + m_tokens[m_pos].text + "' at end of line");
    }

private:
    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
};

enum class Block { None, Skip, Dialog, Menu, Accelerators, StringTable, Toolbar };

class Parser {
public:
    Parser(const char* source, ResourceScript& out, std::vector<ResourceScriptError>* errors)
        : m_source(source ? source : "")
        , m_out(out)
        , m_errors(errors)
    { }

    bool Run(std::string_view text)
    {
        int lineNo = 0;
        std::size_t pos = 0;
        if (text.substr(0, 3).compare("\xEF\xBB\xBF") == 0)
            pos = 3;
        while (pos <= text.size()) {
            const std::size_t end = text.find('\n', pos);
            const std::string_view line
                = text.substr(pos, end == std::string_view::npos ? text.npos : end - pos);
            ++lineNo;
            m_line = lineNo;
            try {
                Statement(Line(Tokenize(line)));
            } catch (const ParseFailure& failure) {
                Error(lineNo, failure.message);
            }
            if (end == std::string_view::npos)
                break;
            pos = end + 1;
        }
        if (m_block != Block::None)
            Error(m_blockLine, "block is not closed with END");
        return m_failed == false;
    }

private:
    void Error(int line, const std::string& message)
    {
        m_failed = true;
        if (m_errors)
            m_errors->push_back({ m_source, line, message });
    }

    void Statement(Line line)
    {
        if (line.AtEnd())
            return;
        if (m_block == Block::Skip) {
            // The rest of a block whose header was in error.
            if (line.PeekWord("POPUP"))
                ++m_skipDepth;
            else if (line.PeekWord("END") && --m_skipDepth == 0)
                m_block = Block::None;
            return;
        }
        if (line.PeekWord("END")) {
            line.Word("END");
            line.ExpectEnd();
            EndBlock();
            return;
        }
        switch (m_block) {
        case Block::None:
            TopLevelOrSkip(line);
            break;
        case Block::Skip:
            break;
        case Block::Dialog:
            DialogLine(line);
            break;
        case Block::Menu:
            MenuLine(line);
            break;
        case Block::Accelerators:
            AcceleratorLine(line);
            break;
        case Block::StringTable:
            StringLine(line);
            break;
        case Block::Toolbar:
            ToolbarLine(line);
            break;
        }
    }

    void Open(Block block)
    {
        m_block = block;
        m_blockLine = m_line;
    }

    // A block header in error skips its block, so its lines are not reported as
    // statements of their own.
    void TopLevelOrSkip(Line& line)
    {
        const Token* first = line.Peek();
        const bool opensBlock = first && first->kind == TokenKind::Word
            && (first->text == "DIALOG" || first->text == "MENU" || first->text == "ACCELERATORS"
                || first->text == "STRINGTABLE" || first->text == "TOOLBAR");
        try {
            TopLevel(line);
        } catch (const ParseFailure&) {
            if (opensBlock) {
                m_block = Block::Skip;
                m_blockLine = m_line;
                m_skipDepth = 1;
            }
            throw;
        }
    }

    void TopLevel(Line& line)
    {
        const std::string keyword = line.Word("a statement");
        if (keyword == "DIALOG") {
            DialogTemplate dialog;
            dialog.id = line.Id("dialog id");
            dialog.x = line.Int("x");
            dialog.y = line.Int("y");
            dialog.cx = line.Int("width");
            dialog.cy = line.Int("height");
            line.ExpectEnd();
            dialog.style = kDefaultDialogStyle;
            m_out.dialogs.push_back(std::move(dialog));
            Open(Block::Dialog);
        } else if (keyword == "MENU") {
            MenuTemplate menu;
            menu.id = line.Id("menu id");
            line.ExpectEnd();
            m_out.menus.push_back(std::move(menu));
            m_menuStack.assign(1, &m_out.menus.back().items);
            Open(Block::Menu);
        } else if (keyword == "ACCELERATORS") {
            AcceleratorTable table;
            table.id = line.Id("accelerator table id");
            line.ExpectEnd();
            m_out.accelerators.push_back(std::move(table));
            Open(Block::Accelerators);
        } else if (keyword == "STRINGTABLE") {
            line.ExpectEnd();
            Open(Block::StringTable);
        } else if (keyword == "TOOLBAR") {
            ToolbarTemplate toolbar;
            toolbar.id = line.Id("toolbar id");
            toolbar.bitmapId = toolbar.id;
            toolbar.buttonWidth = line.Int("button width");
            toolbar.buttonHeight = line.Int("button height");
            if (line.PeekWord("BITMAP")) {
                line.Word("BITMAP");
                toolbar.bitmapId = line.Id("bitmap id");
            }
            line.ExpectEnd();
            m_out.toolbars.push_back(std::move(toolbar));
            Open(Block::Toolbar);
        } else {
            Fail("unknown statement '" + keyword + "'");
        }
    }

    void EndBlock()
    {
        switch (m_block) {
        case Block::None:
            Fail("END without an open block");
        case Block::Dialog: {
            DialogTemplate& dialog = m_out.dialogs.back();
            if (m_dialogHasCaption)
                dialog.style |= kCaptionStyle;
            if (dialog.fontPointSize > 0)
                dialog.style |= kSetFontStyle;
            m_dialogHasCaption = false;
            m_dialogHasControls = false;
            m_block = Block::None;
            break;
        }
        case Block::Menu:
            MarkLast(*m_menuStack.back());
            m_menuStack.pop_back();
            if (m_menuStack.empty())
                m_block = Block::None;
            break;
        default:
            m_block = Block::None;
            break;
        }
    }

    void DialogLine(Line& line)
    {
        DialogTemplate& dialog = m_out.dialogs.back();
        const std::string keyword = line.Word("a dialog statement");
        if (keyword == "CONTROL") {
            DialogItemTemplate item;
            item.id = line.Id("control id");
            const Token* t = line.Peek();
            if (t && t->kind == TokenKind::String)
                item.className = line.String("class");
            else
                item.className = line.Word("class");
            t = line.Peek();
            if (t && t->kind == TokenKind::String) {
                item.text = line.String("text");
            } else {
                const long long resource = line.Number("control text or resource id");
                if (resource <= 0 || resource > 0xFFFF)
                    Fail("resource id out of range 1..65535");
                item.textResourceId = static_cast<UINT>(resource);
            }
            item.x = line.Int("x");
            item.y = line.Int("y");
            item.cx = line.Int("width");
            item.cy = line.Int("height");
            item.style = kChildStyle | kVisibleStyle;
            if (!line.AtEnd())
                item.style = line.Styles(item.style) | kChildStyle;
            if (!line.AtEnd())
                item.exStyle = line.Styles(0);
            line.ExpectEnd();
            dialog.items.push_back(std::move(item));
            m_dialogHasControls = true;
            return;
        }
        if (m_dialogHasControls)
            Fail("'" + keyword + "' must come before the controls");
        if (keyword == "CAPTION") {
            dialog.caption = line.String("caption");
            m_dialogHasCaption = true;
        } else if (keyword == "STYLE") {
            dialog.style = line.Styles(0);
        } else if (keyword == "EXSTYLE") {
            dialog.exStyle = line.Styles(0);
        } else if (keyword == "FONT") {
            dialog.fontPointSize = line.Int("point size");
            if (dialog.fontPointSize <= 0)
                Fail("font size must be positive");
            dialog.fontName = line.String("font face");
            if (!line.AtEnd())
                dialog.fontWeight = line.Int("font weight");
            if (!line.AtEnd())
                dialog.fontItalic = line.Int("italic flag") != 0;
            if (!line.AtEnd())
                dialog.fontCharset = static_cast<BYTE>(line.Int("character set"));
        } else if (keyword == "MENU") {
            dialog.menuId = line.Id("menu id");
        } else if (keyword == "CLASS") {
            dialog.className = line.String("class name");
        } else {
            Fail("unknown dialog statement '" + keyword + "'");
        }
        line.ExpectEnd();
    }

    static UINT MenuFlags(Line& line)
    {
        UINT flags = 0;
        while (!line.AtEnd()) {
            const std::string word = line.Word("a menu flag");
            if (word == "GRAYED")
                flags |= MenuItemTemplate::kGrayed;
            else if (word == "INACTIVE")
                flags |= MenuItemTemplate::kDisabled;
            else if (word == "CHECKED")
                flags |= MenuItemTemplate::kChecked;
            else if (word == "MENUBREAK")
                flags |= MenuItemTemplate::kMenuBreak;
            else if (word == "MENUBARBREAK")
                flags |= MenuItemTemplate::kMenuBarBreak;
            else if (word == "HELP")
                flags |= MenuItemTemplate::kHelp;
            else
                Fail("unknown menu flag '" + word + "'");
        }
        return flags;
    }

    static void MarkLast(std::vector<MenuItemTemplate>& items)
    {
        if (!items.empty())
            items.back().flags |= MenuItemTemplate::kEnd;
    }

    void MenuLine(Line& line)
    {
        std::vector<MenuItemTemplate>& level = *m_menuStack.back();
        const std::string keyword = line.Word("a menu statement");
        MenuItemTemplate item;
        if (keyword == "POPUP") {
            item.text = line.String("popup text");
            item.flags = MenuFlags(line) | MenuItemTemplate::kPopup;
            level.push_back(std::move(item));
            m_menuStack.push_back(&level.back().children);
        } else if (keyword == "ITEM") {
            item.id = line.Id("command id");
            item.text = line.String("item text");
            item.flags = MenuFlags(line);
            level.push_back(std::move(item));
        } else if (keyword == "SEPARATOR") {
            line.ExpectEnd();
            item.flags = MenuItemTemplate::kSeparator;
            level.push_back(std::move(item));
        } else {
            Fail("unknown menu statement '" + keyword + "'");
        }
    }

    void AcceleratorLine(Line& line)
    {
        const std::string keyword = line.Word("KEY");
        if (keyword != "KEY")
            Fail("unknown accelerator statement '" + keyword + "'");
        AcceleratorEntry entry;
        entry.command = static_cast<WORD>(line.Id("command id"));
        const Token* t = line.Peek();
        bool fromCharacter = false;
        if (t && t->kind == TokenKind::String) {
            const std::string key = line.String("key");
            if (key.size() == 1) {
                entry.key = static_cast<unsigned char>(key[0]);
                fromCharacter = true;
            } else if (key.size() == 2 && key[0] == '^' && key[1] >= '@' && key[1] <= '_') {
                entry.key = static_cast<WORD>(key[1] - '@');
            } else if (key.size() == 2 && key[0] == '^' && key[1] >= 'a' && key[1] <= 'z') {
                entry.key = static_cast<WORD>(key[1] - 'a' + 1);
            } else {
                Fail("key text must be one character or ^ and a letter");
            }
        } else {
            const std::string word = line.Word("key");
            if (const auto vk = FindName(kVirtualKeyNames, word)) {
                entry.key = static_cast<WORD>(*vk);
            } else if (word.size() >= 4 && word.rfind("VK_F", 0) == 0 && ParseNumber(word.substr(4))) {
                const long long n = *ParseNumber(word.substr(4));
                if (n < 1 || n > 24)
                    Fail("unknown key '" + word + "'");
                entry.key = static_cast<WORD>(0x6F + n);
            } else if (word.rfind("VK_NUMPAD", 0) == 0 && word.size() == 10 && word[9] >= '0'
                && word[9] <= '9') {
                entry.key = static_cast<WORD>(0x60 + (word[9] - '0'));
            } else if (const auto number = ParseNumber(word); number && *number >= 0 && *number <= 0xFFFF) {
                entry.key = static_cast<WORD>(*number);
            } else {
                Fail("unknown key '" + word + "'");
            }
        }
        bool virtKey = false;
        while (!line.AtEnd()) {
            const std::string word = line.Word("an accelerator option");
            if (word == "VIRTKEY")
                virtKey = true;
            else if (word == "ASCII")
                virtKey = false;
            else if (word == "CONTROL")
                entry.flags |= AcceleratorEntry::kControl;
            else if (word == "SHIFT")
                entry.flags |= AcceleratorEntry::kShift;
            else if (word == "ALT")
                entry.flags |= AcceleratorEntry::kAlt;
            else if (word == "NOINVERT")
                entry.flags |= AcceleratorEntry::kNoInvert;
            else
                Fail("unknown accelerator option '" + word + "'");
        }
        if (virtKey) {
            entry.flags |= AcceleratorEntry::kVirtKey;
            // A letter names its key: "n" and "N" are both the N key.
            if (fromCharacter && entry.key >= 'a' && entry.key <= 'z')
                entry.key = static_cast<WORD>(entry.key - 'a' + 'A');
        } else if (entry.flags & (AcceleratorEntry::kShift | AcceleratorEntry::kControl)) {
            Fail("SHIFT and CONTROL need VIRTKEY");
        }
        m_out.accelerators.back().entries.push_back(entry);
    }

    void StringLine(Line& line)
    {
        const UINT id = line.Id("string id");
        CString text = line.String("string text");
        line.ExpectEnd();
        m_out.strings.emplace_back(id, std::move(text));
    }

    void ToolbarLine(Line& line)
    {
        ToolbarTemplate& toolbar = m_out.toolbars.back();
        const std::string keyword = line.Word("a toolbar statement");
        if (keyword == "BUTTON") {
            const UINT id = line.Id("command id");
            if (id == 0)
                Fail("button id 0 is reserved for separators");
            toolbar.items.push_back(id);
        } else if (keyword == "SEPARATOR") {
            toolbar.items.push_back(0);
        } else {
            Fail("unknown toolbar statement '" + keyword + "'");
        }
        line.ExpectEnd();
    }

    std::string m_source;
    ResourceScript& m_out;
    std::vector<ResourceScriptError>* m_errors;
    Block m_block = Block::None;
    int m_line = 0;
    int m_blockLine = 0;
    int m_skipDepth = 0;
    bool m_failed = false;
    bool m_dialogHasCaption = false;
    bool m_dialogHasControls = false;
    std::vector<std::vector<MenuItemTemplate>*> m_menuStack;
};

// The program's resources, keyed by id per kind. Pointers handed out stay valid:
// entries are never removed, only replaced by AfxAddResourceScript (which tests
// use before anyone holds the old one).
struct Registry {
    std::mutex mutex;
    bool loaded = false;
    std::map<UINT, std::unique_ptr<DialogTemplate>> dialogs;
    std::map<UINT, std::unique_ptr<MenuTemplate>> menus;
    std::map<UINT, std::unique_ptr<AcceleratorTable>> accelerators;
    std::map<UINT, std::unique_ptr<ToolbarTemplate>> toolbars;
    std::map<UINT, CString> strings;
    std::vector<ResourceScriptError> embeddedErrors;
};

Registry& GetRegistry()
{
    static Registry registry;
    return registry;
}

template <typename T> void Merge(std::vector<T>& from, std::map<UINT, std::unique_ptr<T>>& into)
{
    for (T& item : from) {
        auto& slot = into[item.id];
        if (slot)
            *slot = std::move(item);
        else
            slot = std::make_unique<T>(std::move(item));
    }
}

void MergeLocked(Registry& r, ResourceScript& script)
{
    Merge(script.dialogs, r.dialogs);
    Merge(script.menus, r.menus);
    Merge(script.accelerators, r.accelerators);
    Merge(script.toolbars, r.toolbars);
    for (auto& [id, text] : script.strings)
        r.strings[id] = std::move(text);
}

// Parses the embedded scripts once. Caller holds the mutex.
void LoadEmbeddedLocked(Registry& r)
{
    if (r.loaded)
        return;
    r.loaded = true;
    for (const UINT id : AfxEnumResourceIds(kResourceScriptType)) {
        const auto bytes = AfxGetResource(kResourceScriptType, id);
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        ResourceScript script;
        std::vector<ResourceScriptError> errors;
        const std::string name = "RCSCRIPT " + std::to_string(id);
        ParseResourceScript(text, name.c_str(), script, &errors);
        for (const ResourceScriptError& e : errors)
            std::fprintf(stderr, "%s:%d: %s\n", e.source.GetString(), e.line, e.message.GetString());
        r.embeddedErrors.insert(r.embeddedErrors.end(), errors.begin(), errors.end());
        MergeLocked(r, script);
    }
}

template <typename T> const T* Find(std::map<UINT, std::unique_ptr<T>> Registry::*member, UINT id)
{
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    LoadEmbeddedLocked(r);
    const auto& map = r.*member;
    const auto it = map.find(id);
    return it == map.end() ? nullptr : it->second.get();
}

} // namespace

BOOL ParseResourceScript(std::string_view text, const char* sourceName, ResourceScript& out,
    std::vector<ResourceScriptError>* errors)
{
    Parser parser(sourceName, out, errors);
    return parser.Run(text) ? TRUE : FALSE;
}

const DialogTemplate* AfxFindDialogTemplate(UINT id)
{
    return Find(&Registry::dialogs, id);
}
const MenuTemplate* AfxFindMenuTemplate(UINT id)
{
    return Find(&Registry::menus, id);
}
const AcceleratorTable* AfxFindAcceleratorTable(UINT id)
{
    return Find(&Registry::accelerators, id);
}
const ToolbarTemplate* AfxFindToolbarTemplate(UINT id)
{
    return Find(&Registry::toolbars, id);
}

BOOL AfxLoadString(UINT id, CString& text)
{
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    LoadEmbeddedLocked(r);
    const auto it = r.strings.find(id);
    if (it == r.strings.end())
        return FALSE;
    text = it->second;
    return TRUE;
}

BOOL AfxAddResourceScript(
    std::string_view text, const char* sourceName, std::vector<ResourceScriptError>* errors)
{
    ResourceScript script;
    const BOOL ok = ParseResourceScript(text, sourceName, script, errors);
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    LoadEmbeddedLocked(r);
    MergeLocked(r, script);
    return ok;
}

std::vector<ResourceScriptError> AfxGetResourceScriptErrors()
{
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    LoadEmbeddedLocked(r);
    return r.embeddedErrors;
}
