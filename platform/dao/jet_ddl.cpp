#include "platform/dao/jet_ddl.h"

#include <cctype>
#include <string>
#include <vector>

namespace {

enum class TokenKind { Name, Number, Punct, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text; // name without brackets, digits, or the punctuation char
    bool bracketed = false;
};

bool Tokenize(const std::string& sql, std::vector<Token>& out)
{
    std::size_t i = 0;
    while (i < sql.size()) {
        const unsigned char c = static_cast<unsigned char>(sql[i]);
        if (std::isspace(c)) {
            ++i;
        } else if (c == '[') {
            const std::size_t close = sql.find(']', i + 1);
            if (close == std::string::npos || close == i + 1)
                return false;
            out.push_back({ TokenKind::Name, sql.substr(i + 1, close - i - 1), true });
            i = close + 1;
        } else if (std::isalpha(c) || c == '_' || c >= 0x80) {
            std::size_t j = i;
            while (j < sql.size()) {
                const unsigned char d = static_cast<unsigned char>(sql[j]);
                if (!(std::isalnum(d) || d == '_' || d >= 0x80))
                    break;
                ++j;
            }
            out.push_back({ TokenKind::Name, sql.substr(i, j - i), false });
            i = j;
        } else if (std::isdigit(c)) {
            std::size_t j = i;
            while (j < sql.size() && std::isdigit(static_cast<unsigned char>(sql[j])))
                ++j;
            out.push_back({ TokenKind::Number, sql.substr(i, j - i), false });
            i = j;
        } else if (c == '(' || c == ')' || c == ',' || c == ';') {
            out.push_back({ TokenKind::Punct, std::string(1, static_cast<char>(c)), false });
            ++i;
        } else {
            return false;
        }
    }
    // A trailing semicolon ends the statement.
    if (!out.empty() && out.back().kind == TokenKind::Punct && out.back().text == ";")
        out.pop_back();
    return true;
}

bool EqualsNoCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

std::string Quote(const std::string& name)
{
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
    return out;
}

struct ColumnDef {
    std::string name;
    enum class Type { Text, Long, Counter, Memo } type = Type::Text;
    int size = 255;
    bool notNull = false;
    bool primaryKey = false;
    std::string pkName = "PrimaryKey";
};

class Parser {
public:
    explicit Parser(std::vector<Token> tokens)
        : m_tokens(std::move(tokens))
    { }

    const Token& Peek(std::size_t ahead = 0) const
    {
        static const Token kEnd;
        return m_pos + ahead < m_tokens.size() ? m_tokens[m_pos + ahead] : kEnd;
    }
    bool AtEnd() const { return m_pos >= m_tokens.size(); }
    bool Keyword(const char* word)
    {
        const Token& t = Peek();
        if (t.kind == TokenKind::Name && !t.bracketed && EqualsNoCase(t.text, word)) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool Punct(char c)
    {
        const Token& t = Peek();
        if (t.kind == TokenKind::Punct && t.text[0] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool Name(std::string& out)
    {
        const Token& t = Peek();
        if (t.kind != TokenKind::Name)
            return false;
        out = t.text;
        ++m_pos;
        return true;
    }
    bool Number(int& out)
    {
        const Token& t = Peek();
        if (t.kind != TokenKind::Number || t.text.size() > 6)
            return false;
        out = std::stoi(t.text);
        ++m_pos;
        return true;
    }

    // col type [(n)] [NOT NULL] [[CONSTRAINT n] PRIMARY KEY]
    bool Column(ColumnDef& col)
    {
        std::string type;
        if (!Name(col.name) || !Name(type))
            return false;
        if (EqualsNoCase(type, "TEXT") || EqualsNoCase(type, "CHAR") || EqualsNoCase(type, "VARCHAR")) {
            col.type = ColumnDef::Type::Text;
            if (Punct('(')) {
                if (!Number(col.size) || col.size < 1 || col.size > 255 || !Punct(')'))
                    return false;
            }
        } else if (EqualsNoCase(type, "LONG") || EqualsNoCase(type, "INT") || EqualsNoCase(type, "INTEGER")) {
            col.type = ColumnDef::Type::Long;
        } else if (EqualsNoCase(type, "COUNTER") || EqualsNoCase(type, "AUTOINCREMENT")) {
            col.type = ColumnDef::Type::Counter;
        } else if (EqualsNoCase(type, "MEMO") || EqualsNoCase(type, "LONGTEXT")
            || EqualsNoCase(type, "NOTE")) {
            col.type = ColumnDef::Type::Memo;
        } else {
            return false;
        }
        for (;;) {
            if (Keyword("NOT")) {
                if (!Keyword("NULL"))
                    return false;
                col.notNull = true;
            } else if (Keyword("CONSTRAINT")) {
                if (!Name(col.pkName) || !Keyword("PRIMARY") || !Keyword("KEY"))
                    return false;
                col.primaryKey = true;
            } else if (Keyword("PRIMARY")) {
                if (!Keyword("KEY"))
                    return false;
                col.primaryKey = true;
            } else {
                return true;
            }
        }
    }

private:
    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
};

// The SQLite text of one column; autonumber columns must be the primary key.
bool ColumnSql(const ColumnDef& col, std::string& out)
{
    const std::string name = Quote(col.name);
    out = name;
    switch (col.type) {
    case ColumnDef::Type::Counter:
        if (!col.primaryKey)
            return false;
        out += " INTEGER CONSTRAINT " + Quote(col.pkName) + " PRIMARY KEY AUTOINCREMENT";
        return true;
    case ColumnDef::Type::Text:
        out += " TEXT(" + std::to_string(col.size) + ") COLLATE NOCASE";
        if (col.notNull)
            out += " NOT NULL";
        out += " CONSTRAINT " + Quote(kJetSizeCheckPrefix + col.name) + " CHECK (length(" + name
            + ") <= " + std::to_string(col.size) + ")";
        break;
    case ColumnDef::Type::Long:
        out += " LONG";
        if (col.notNull)
            out += " NOT NULL";
        break;
    case ColumnDef::Type::Memo:
        out += " LONGTEXT COLLATE NOCASE";
        if (col.notNull)
            out += " NOT NULL";
        break;
    }
    if (col.primaryKey)
        out += " CONSTRAINT " + Quote(col.pkName) + " PRIMARY KEY";
    return true;
}

JetStatus FieldError(const std::string& detail)
{
    return JetStatus::Fail(
        JetError::FieldDefinition, CString("Syntax error in field definition. (" + detail + ")"));
}

JetStatus CreateTable(Parser& p, CString& out)
{
    std::string table;
    if (!p.Name(table) || !p.Punct('('))
        return JetStatus::Fail(JetError::FieldDefinition, "Syntax error in CREATE TABLE statement.");
    std::vector<ColumnDef> columns;
    std::string pkName, pkColumn;
    do {
        if (p.Keyword("CONSTRAINT")) {
            if (!p.Name(pkName) || !p.Keyword("PRIMARY") || !p.Keyword("KEY") || !p.Punct('(')
                || !p.Name(pkColumn) || !p.Punct(')'))
                return JetStatus::Fail(JetError::FieldDefinition, "Syntax error in CONSTRAINT clause.");
            continue;
        }
        ColumnDef col;
        if (!p.Column(col))
            return FieldError(col.name);
        columns.push_back(col);
    } while (p.Punct(','));
    if (!p.Punct(')') || !p.AtEnd())
        return JetStatus::Fail(JetError::FieldDefinition, "Syntax error in CREATE TABLE statement.");

    bool pkFound = pkColumn.empty();
    for (ColumnDef& col : columns) {
        if (!pkColumn.empty() && EqualsNoCase(col.name, pkColumn.c_str())) {
            col.primaryKey = true;
            col.pkName = pkName;
            pkFound = true;
        }
    }
    if (!pkFound)
        return FieldError(pkColumn);

    std::string sql = "CREATE TABLE " + Quote(table) + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::string colSql;
        if (!ColumnSql(columns[i], colSql))
            return FieldError(columns[i].name + ": an autonumber field must be the primary key");
        sql += (i ? ", " : "") + colSql;
    }
    sql += ")";
    out = CString(sql);
    return JetStatus::Success();
}

JetStatus AlterTable(Parser& p, CString& out)
{
    std::string table;
    ColumnDef col;
    if (!p.Name(table) || !p.Keyword("ADD"))
        return JetStatus::Fail(JetError::FieldDefinition, "Syntax error in ALTER TABLE statement.");
    p.Keyword("COLUMN");
    if (!p.Column(col) || !p.AtEnd())
        return FieldError(col.name);
    std::string colSql;
    if (col.primaryKey || col.type == ColumnDef::Type::Counter || !ColumnSql(col, colSql))
        return FieldError(col.name + ": a key cannot be added to an existing table");
    out = CString("ALTER TABLE " + Quote(table) + " ADD COLUMN " + colSql);
    return JetStatus::Success();
}

JetStatus CreateIndex(Parser& p, bool unique, CString& out)
{
    std::string index, table;
    if (!p.Name(index) || !p.Keyword("ON") || !p.Name(table) || !p.Punct('('))
        return JetStatus::Fail(JetError::FieldDefinition, "Syntax error in CREATE INDEX statement.");
    std::string columns;
    do {
        std::string col;
        if (!p.Name(col))
            return JetStatus::Fail(JetError::FieldDefinition, "Syntax error in CREATE INDEX statement.");
        columns += (columns.empty() ? "" : ", ") + Quote(col);
        if (p.Keyword("DESC"))
            columns += " DESC";
        else
            p.Keyword("ASC");
    } while (p.Punct(','));
    if (!p.Punct(')'))
        return JetStatus::Fail(JetError::FieldDefinition, "Syntax error in CREATE INDEX statement.");
    if (p.Keyword("WITH")) {
        if (!p.Keyword("PRIMARY"))
            return JetStatus::Fail(JetError::FieldDefinition, "Syntax error in CREATE INDEX statement.");
        unique = true;
    }
    if (!p.AtEnd())
        return JetStatus::Fail(JetError::FieldDefinition, "Syntax error in CREATE INDEX statement.");
    out = CString(std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " + Quote(table + "." + index)
        + " ON " + Quote(table) + " (" + columns + ")");
    return JetStatus::Success();
}

} // namespace

bool IsJetDdl(const CString& sql)
{
    const std::string& text = sql.Str();
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    std::size_t j = i;
    while (j < text.size() && std::isalpha(static_cast<unsigned char>(text[j])))
        ++j;
    const std::string first = text.substr(i, j - i);
    return EqualsNoCase(first, "CREATE") || EqualsNoCase(first, "ALTER");
}

JetStatus TranslateJetDdl(const CString& sql, CString& sqliteSql)
{
    std::vector<Token> tokens;
    if (!Tokenize(sql.Str(), tokens))
        return JetStatus::Fail(JetError::InvalidStatement, "Syntax error in data-definition statement.");
    Parser p(std::move(tokens));
    if (p.Keyword("CREATE")) {
        if (p.Keyword("TABLE"))
            return CreateTable(p, sqliteSql);
        const bool unique = p.Keyword("UNIQUE");
        if (p.Keyword("INDEX"))
            return CreateIndex(p, unique, sqliteSql);
    } else if (p.Keyword("ALTER") && p.Keyword("TABLE")) {
        return AlterTable(p, sqliteSql);
    }
    return JetStatus::Fail(JetError::InvalidStatement, "Syntax error in data-definition statement.");
}
