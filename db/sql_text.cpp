#include "db/sql_text.h"

#include <cstring>

CString SqlEscape(const CString& value)
{
    const char* text = value.GetString(); // stops at an embedded NUL
    CString out;
    for (const char* p = text; *p; ++p) {
        out += *p;
        if (*p == '\'')
            out += '\'';
    }
    return out;
}

CString SqlLiteral(const CString& value)
{
    return "'" + SqlEscape(value) + "'";
}

CString SqlName(const CString& name)
{
    CString out = "[";
    for (const char* p = name.GetString(); *p; ++p) {
        if (*p != '[' && *p != ']')
            out += *p;
    }
    out += ']';
    return out;
}

CString SqlTextKey(const CString& text)
{
    CString key = text;
    key.MakeLower();
    return key;
}
