#pragma once
// CString: the class library's text type. Holds UTF-8; lengths and positions are
// in bytes of that UTF-8 text. Use Cp949Length() where a count of ANSI bytes is
// meant.

#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "platform/base/types.h"

class CString {
public:
    CString() = default;
    CString(const char* text)
        : m_text(text ? text : "")
    { }
    CString(const char* text, int length);
    CString(const std::string& text)
        : m_text(text)
    { }
    CString(std::string&& text)
        : m_text(std::move(text))
    { }
    CString(std::string_view text)
        : m_text(text)
    { }
    explicit CString(char ch, int repeat = 1);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }

    // Byte access; out of range reads give 0 and writes are ignored.
    char GetAt(int index) const;
    void SetAt(int index, char ch);
    char operator[](int index) const { return GetAt(index); }

    operator const char*() const { return m_text.c_str(); }
    const char* GetString() const { return m_text.c_str(); }
    const std::string& Str() const { return m_text; }
    std::string_view View() const { return m_text; }

    CString& operator=(const char* text);
    CString& operator=(const std::string& text);
    CString& operator+=(const CString& text);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);
    CString& operator+=(std::string_view text);
    void Append(const char* text, int length);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }
    friend bool operator>(const CString& a, const CString& b) { return a.m_text > b.m_text; }
    friend bool operator<=(const CString& a, const CString& b) { return a.m_text <= b.m_text; }
    friend bool operator>=(const CString& a, const CString& b) { return a.m_text >= b.m_text; }

    // strcmp / case-insensitive (ASCII letters) compare: <0, 0, >0.
    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const char* charSet) const;
    CString SpanExcluding(const char* charSet) const;

    // ASCII letters only, as the ANSI code page functions do for Hangul.
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    int Replace(char oldCh, char newCh);
    int Replace(const char* oldText, const char* newText);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, const char* text);
    int Delete(int index, int count = 1);

    CString& TrimLeft();
    CString& TrimLeft(char target);
    CString& TrimLeft(const char* targets);
    CString& TrimRight();
    CString& TrimRight(char target);
    CString& TrimRight(const char* targets);
    CString& Trim();

    int Find(char ch, int start = 0) const;
    int Find(const char* text, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* charSet) const;

    // Next token after position start (updated; -1 when done), skipping leading
    // delimiters. Returns an empty text when no token is left.
    CString Tokenize(const char* delimiters, int& start) const;

    // printf-style formatting. CString arguments may be passed for %s.
    template <typename... Args> void Format(const char* format, const Args&... args)
    {
        FormatRaw(format, FormatArg(args)...);
    }
    template <typename... Args> void AppendFormat(const char* format, const Args&... args)
    {
        CString tail;
        tail.Format(format, args...);
        m_text += tail.m_text;
    }
    template <typename... Args> static CString Formatted(const char* format, const Args&... args)
    {
        CString s;
        s.Format(format, args...);
        return s;
    }

    // Writable buffer of at least minLength bytes plus a terminator. After
    // writing, ReleaseBuffer(-1) cuts the text at the first NUL.
    char* GetBuffer(int minLength = 0);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    template <typename T> static decltype(auto) FormatArg(const T& value)
    {
        if constexpr (std::is_same_v<T, CString>)
            return value.GetString();
        else if constexpr (std::is_same_v<T, std::string>)
            return value.c_str();
        else
            return value;
    }
    void FormatRaw(const char* format, ...);

    std::string m_text;
};

bool operator==(const char* a, const CString& b);
