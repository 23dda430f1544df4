#include "platform/base/cstring.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

CString::CString(const char* text, int length)
{
    if (text && length > 0)
        m_text.assign(text, static_cast<std::size_t>(length));
}

CString::CString(char ch, int repeat)
{
    if (repeat > 0)
        m_text.assign(static_cast<std::size_t>(repeat), ch);
}

char CString::GetAt(int index) const
{
    if (index < 0 || index >= GetLength())
        return 0;
    return m_text[static_cast<std::size_t>(index)];
}

void CString::SetAt(int index, char ch)
{
    if (index >= 0 && index < GetLength())
        m_text[static_cast<std::size_t>(index)] = ch;
}

CString& CString::operator=(const char* text)
{
    m_text = text ? text : "";
    return *this;
}

CString& CString::operator=(const std::string& text)
{
    m_text = text;
    return *this;
}

CString& CString::operator+=(const CString& text)
{
    m_text += text.m_text;
    return *this;
}

CString& CString::operator+=(const char* text)
{
    if (text)
        m_text += text;
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_text += ch;
    return *this;
}

CString& CString::operator+=(std::string_view text)
{
    m_text += text;
    return *this;
}

void CString::Append(const char* text, int length)
{
    if (text && length > 0)
        m_text.append(text, static_cast<std::size_t>(length));
}

CString operator+(const CString& a, const CString& b)
{
    return CString(a.m_text + b.m_text);
}
CString operator+(const CString& a, const char* b)
{
    return CString(a.m_text + (b ? b : ""));
}
CString operator+(const char* a, const CString& b)
{
    return CString((a ? a : "") + b.m_text);
}
CString operator+(const CString& a, char b)
{
    return CString(a.m_text + b);
}
CString operator+(char a, const CString& b)
{
    return CString(std::string(1, a) + b.m_text);
}
bool operator==(const char* a, const CString& b)
{
    return b == a;
}

int CString::Compare(const char* text) const
{
    return std::strcmp(m_text.c_str(), text ? text : "");
}

int CString::CompareNoCase(const char* text) const
{
    const char* a = m_text.c_str();
    const char* b = text ? text : "";
    for (;; ++a, ++b) {
        const auto ca = static_cast<unsigned char>(AsciiLower(*a));
        const auto cb = static_cast<unsigned char>(AsciiLower(*b));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = std::max(first, 0);
    if (first >= GetLength() || count <= 0)
        return {};
    count = std::min(count, GetLength() - first);
    return CString(m_text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

CString CString::Left(int count) const
{
    return Mid(0, count);
}

CString CString::Right(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(const char* charSet) const
{
    return Left(static_cast<int>(std::strspn(m_text.c_str(), charSet ? charSet : "")));
}

CString CString::SpanExcluding(const char* charSet) const
{
    return Left(static_cast<int>(std::strcspn(m_text.c_str(), charSet ? charSet : "")));
}

CString& CString::MakeUpper()
{
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), AsciiUpper);
    return *this;
}

CString& CString::MakeLower()
{
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), AsciiLower);
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_text.begin(), m_text.end());
    return *this;
}

int CString::Replace(char oldCh, char newCh)
{
    int count = 0;
    for (char& c : m_text) {
        if (c == oldCh) {
            c = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char* oldText, const char* newText)
{
    if (!oldText || !*oldText)
        return 0;
    const std::string from(oldText);
    const std::string to(newText ? newText : "");
    int count = 0;
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = m_text.find(from, pos);
        if (hit == std::string::npos)
            break;
        out.append(m_text, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        ++count;
    }
    if (count) {
        out.append(m_text, pos, std::string::npos);
        m_text = std::move(out);
    }
    return count;
}

int CString::Remove(char ch)
{
    const auto before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    return static_cast<int>(before - m_text.size());
}

int CString::Insert(int index, char ch)
{
    index = std::clamp(index, 0, GetLength());
    m_text.insert(m_text.begin() + index, ch);
    return GetLength();
}

int CString::Insert(int index, const char* text)
{
    index = std::clamp(index, 0, GetLength());
    m_text.insert(static_cast<std::size_t>(index), text ? text : "");
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index < 0)
        index = 0;
    if (count > 0 && index < GetLength())
        m_text.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(count));
    return GetLength();
}

CString& CString::TrimLeft()
{
    const auto it = std::find_if(m_text.begin(), m_text.end(), [](char c) { return !IsSpace(c); });
    m_text.erase(m_text.begin(), it);
    return *this;
}

CString& CString::TrimLeft(char target)
{
    const auto pos = m_text.find_first_not_of(target);
    m_text.erase(0, pos == std::string::npos ? m_text.size() : pos);
    return *this;
}

CString& CString::TrimLeft(const char* targets)
{
    const auto pos = m_text.find_first_not_of(targets ? targets : "");
    m_text.erase(0, pos == std::string::npos ? m_text.size() : pos);
    return *this;
}

CString& CString::TrimRight()
{
    while (!m_text.empty() && IsSpace(m_text.back()))
        m_text.pop_back();
    return *this;
}

CString& CString::TrimRight(char target)
{
    while (!m_text.empty() && m_text.back() == target)
        m_text.pop_back();
    return *this;
}

CString& CString::TrimRight(const char* targets)
{
    const auto pos = m_text.find_last_not_of(targets ? targets : "");
    m_text.erase(pos == std::string::npos ? 0 : pos + 1);
    return *this;
}

CString& CString::Trim()
{
    return TrimLeft().TrimRight();
}

int CString::Find(char ch, int start) const
{
    if (start < 0 || start >= GetLength())
        return -1;
    const auto pos = m_text.find(ch, static_cast<std::size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const char* text, int start) const
{
    if (start < 0 || start > GetLength() || !text)
        return -1;
    const auto pos = m_text.find(text, static_cast<std::size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const
{
    const auto pos = m_text.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const char* charSet) const
{
    const auto pos = m_text.find_first_of(charSet ? charSet : "");
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Tokenize(const char* delimiters, int& start) const
{
    const std::string delims(delimiters ? delimiters : "");
    if (start < 0 || start >= GetLength()) {
        start = -1;
        return {};
    }
    const auto first = m_text.find_first_not_of(delims, static_cast<std::size_t>(start));
    if (first == std::string::npos) {
        start = -1;
        return {};
    }
    auto last = m_text.find_first_of(delims, first);
    if (last == std::string::npos)
        last = m_text.size();
    start = static_cast<int>(std::min(last + 1, m_text.size()));
    return CString(m_text.substr(first, last - first));
}

void CString::FormatRaw(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format ? format : "", copy);
    va_end(copy);
    if (needed < 0) {
        m_text.clear();
        va_end(args);
        return;
    }
    std::string out(static_cast<std::size_t>(needed) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format ? format : "", args);
    va_end(args);
    out.resize(static_cast<std::size_t>(needed));
    m_text = std::move(out);
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_text.resize(static_cast<std::size_t>(minLength));
    return m_text.data();
}

char* CString::GetBufferSetLength(int length)
{
    m_text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0) {
        const auto nul = m_text.find('\0');
        if (nul != std::string::npos)
            m_text.resize(nul);
    } else if (newLength <= GetLength()) {
        m_text.resize(static_cast<std::size_t>(newLength));
    }
}
