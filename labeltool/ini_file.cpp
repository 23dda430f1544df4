// CIniFile.

#include "labeltool/ini_file.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <unordered_set>

#include "platform/base/cp949.h"
#include "platform/base/file.h"
#include "platform/base/file_system.h"
#include "platform/base/ini_lines.h"

CIniFile::CIniFile()
{
    Empty();
}

CIniFile::~CIniFile()
{
    if (m_saveOnDestroy)
        (void)Write(m_backup);
}

void CIniFile::Empty()
{
    m_sections.clear();
    m_sections.push_back({});
    m_modified = FALSE;
}

BOOL CIniFile::Open(
    const CString& path, BOOL saveOnDestroy, BOOL createIfMissing, BOOL caseInsensitive, BOOL backup)
{
    if (!m_path.IsEmpty())
        (void)Write(m_backup);
    m_path = path;
    m_backupPath.Empty();
    m_saveOnDestroy = saveOnDestroy;
    m_caseInsensitive = caseInsensitive;
    m_backup = backup;
    return Read(createIfMissing);
}

BOOL CIniFile::Reload()
{
    return Read(FALSE);
}

// Read only: a file that cannot be written still shows what it holds.
BOOL CIniFile::Read(BOOL createIfMissing)
{
    Empty();
    m_read = FALSE;
    m_stale = FALSE;
    m_onDisk.clear();
    if (m_path.IsEmpty())
        return FALSE;
    if (GetFileAttributes(m_path) == INVALID_FILE_ATTRIBUTES) {
        // Missing: nothing is lost by writing it.
        m_read = TRUE;
        CFile file;
        return createIfMissing
                && file.Open(m_path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite)
            ? TRUE
            : FALSE;
    }
    std::string bytes;
    if (!ReadBytes(bytes))
        return FALSE;
    Load(bytes);
    m_onDisk = std::move(bytes);
    m_read = TRUE;
    return TRUE;
}

BOOL CIniFile::ReadBytes(std::string& bytes) const
{
    bytes.clear();
    CFile file;
    if (!file.Open(m_path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary))
        return GetFileAttributes(m_path) == INVALID_FILE_ATTRIBUTES ? TRUE : FALSE;
    bytes.resize(static_cast<std::size_t>(file.GetLength()));
    bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    file.Close();
    return TRUE;
}

void CIniFile::Load(const std::string& bytes)
{
    // CP949 trail bytes are never '\n': the file splits into lines as bytes.
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        RawLine raw;
        if (end == std::string::npos) {
            raw.bytes = bytes.substr(start);
            start = bytes.size();
            if (!raw.bytes.empty() && raw.bytes.back() == '\r') {
                raw.bytes.pop_back(); // a last line ended by CR alone
                raw.end = "\r";
            }
        } else {
            raw.bytes = bytes.substr(start, end - start);
            raw.end = "\n";
            start = end + 1;
            if (!raw.bytes.empty() && raw.bytes.back() == '\r') {
                raw.bytes.pop_back();
                raw.end = "\r\n";
            }
        }
        AddLine(std::move(raw));
    }
}

void CIniFile::AddLine(RawLine raw)
{
    const std::string text = Cp949ToUtf8(raw.bytes);
    const std::vector<IniTextLine> parsed = SplitIniLines(text);
    const IniTextLine line
        = parsed.empty() ? IniTextLine { IniTextLine::Kind::Other, {}, {} } : parsed.front();
    if (line.kind == IniTextLine::Kind::Section) {
        m_sections.push_back({ CString(line.name), true, std::move(raw), {}, {}, false });
        return;
    }
    m_sections.back().entries.push_back({ CString(line.name), CString(line.value), std::move(raw), false });
    m_sections.back().indexed = false;
}

BOOL CIniFile::Same(const CString& a, const CString& b) const
{
    if (!m_caseInsensitive)
        return a == b;
    const std::string_view x(a.Str()), y(b.Str());
    return x.size() == y.size()
        && std::equal(x.begin(), x.end(), y.begin(),
            [](unsigned char c, unsigned char d) { return std::tolower(c) == std::tolower(d); });
}

int CIniFile::FindSection(const CString& name) const
{
    for (std::size_t i = 0; i < m_sections.size(); ++i)
        if (Same(m_sections[i].name, name))
            return static_cast<int>(i);
    return -1;
}

std::string CIniFile::Folded(const CString& key) const
{
    std::string folded = key.Str();
    if (m_caseInsensitive)
        std::transform(folded.begin(), folded.end(), folded.begin(),
            [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

// The last entry of the key, through the section's index: a change of a
// list of n keys costs n look-ups, not n times n comparisons.
int CIniFile::FindKey(const Section& section, const CString& key) const
{
    if (!section.indexed) {
        section.index.clear();
        for (std::size_t i = 0; i < section.entries.size(); ++i)
            section.index[Folded(section.entries[i].key)] = i;
        section.indexed = true;
    }
    const auto found = section.index.find(Folded(key));
    return found == section.index.end() ? -1 : static_cast<int>(found->second);
}

namespace {

// A value as GetValue gives it: up to its last ";".
CString BeforeComment(const CString& whole)
{
    const std::size_t semicolon = whole.Str().rfind(';');
    return semicolon == std::string::npos ? whole : CString(whole.Str().substr(0, semicolon));
}

} // namespace

CString CIniFile::GetValue(const CString& section, const CString& key, const CString& def) const
{
    CString whole;
    if (!Lookup(section, key, whole))
        return def;
    return BeforeComment(whole);
}

BOOL CIniFile::Lookup(const CString& section, const CString& key, CString& value) const
{
    const int s = FindSection(section);
    if (s < 0)
        return FALSE;
    const Section& found = m_sections[static_cast<std::size_t>(s)];
    const int k = FindKey(found, key);
    if (k < 0)
        return FALSE;
    value = found.entries[static_cast<std::size_t>(k)].value;
    return TRUE;
}

void CIniFile::SetValue(const CString& section, const CString& key, const CString& value)
{
    int s = FindSection(section);
    if (s < 0) {
        m_sections.push_back({ section, true, {}, {}, {}, false });
        s = static_cast<int>(m_sections.size()) - 1;
    }
    Section& found = m_sections[static_cast<std::size_t>(s)];
    const int k = FindKey(found, key);
    if (k < 0) {
        found.entries.push_back({ key, value, {}, true });
        found.index[Folded(key)] = found.entries.size() - 1; // indexed by FindKey
    } else {
        Entry& entry = found.entries[static_cast<std::size_t>(k)];
        // The value it reads as already: the line stays as it is, comment and all.
        if (entry.value == value || BeforeComment(entry.value) == value)
            return;
        entry.value = value;
        entry.changed = true;
    }
    m_modified = TRUE;
}

void CIniFile::DeleteKeys(const CString& section, const std::function<bool(const CString& key)>& chosen)
{
    const int s = FindSection(section);
    if (s < 0)
        return;
    std::vector<Entry>& entries = m_sections[static_cast<std::size_t>(s)].entries;
    const std::size_t before = entries.size();
    std::erase_if(entries, [&](const Entry& entry) { return chosen(entry.key); });
    if (entries.size() != before) {
        m_modified = TRUE;
        m_sections[static_cast<std::size_t>(s)].indexed = false;
    }
}

std::vector<CString> CIniFile::GetKeys(const CString& section) const
{
    std::vector<CString> keys;
    const int s = FindSection(section);
    if (s < 0)
        return keys;
    std::unordered_set<std::string> seen;
    for (const Entry& entry : m_sections[static_cast<std::size_t>(s)].entries)
        if (seen.insert(Folded(entry.key)).second)
            keys.push_back(entry.key);
    return keys;
}

// "<path>.NNN" with NNN one above the highest number ending a name of the
// file's family.
CString CIniFile::ChooseBackupPath() const
{
    std::string stem = m_path.GetString();
    const std::size_t slash = stem.find_last_of("\\/");
    const std::size_t dot = stem.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        stem.resize(dot);
    int highest = 0;
    CFileFind find;
    BOOL more = find.FindFile(CString((stem + "*.*").c_str()));
    while (more) {
        more = find.FindNextFile();
        const std::string name = find.GetFileName().GetString();
        if (name.size() >= 3)
            highest = std::max(highest, std::atoi(name.substr(name.size() - 3).c_str()));
    }
    return CString::Formatted("%s.%.3d", m_path, highest + 1);
}

// The file's bytes: lines as read where nothing was set, the others written
// "key=value" (a key line without "=" keeps that shape), CR LF after each
// line but a last one read without.
std::string CIniFile::Text() const
{
    std::vector<RawLine> lines;
    for (const Section& section : m_sections) {
        if (section.header)
            lines.push_back(section.raw.bytes.empty()
                    ? RawLine { Utf8ToCp949("[" + section.name.Str() + "]"), "\r\n" }
                    : section.raw);
        for (const Entry& entry : section.entries) {
            if (!entry.changed) {
                lines.push_back(entry.raw);
                continue;
            }
            const std::string separator = entry.key.IsEmpty() ? "" : "=";
            lines.push_back({ Utf8ToCp949(entry.key.Str() + separator + entry.value.Str()), "\r\n" });
        }
    }
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i].bytes;
        // A line read last, without LF, ends as the others when lines follow.
        const bool last = i + 1 == lines.size();
        text += !last && lines[i].end != "\n" && lines[i].end != "\r\n" ? "\r\n" : lines[i].end;
    }
    return text;
}

BOOL CIniFile::Write(BOOL backup)
{
    if (!m_modified)
        return TRUE;
    if (!m_read)
        return FALSE;
    std::string now;
    if (!ReadBytes(now))
        return FALSE;
    m_stale = now != m_onDisk;
    if (m_stale)
        return FALSE;
    if (backup) {
        if (m_backupPath.IsEmpty())
            m_backupPath = ChooseBackupPath();
        if (GetFileAttributes(m_path) != INVALID_FILE_ATTRIBUTES && !CopyFile(m_path, m_backupPath, FALSE))
            return FALSE;
    }
    const std::string bytes = Text();
    if (!WriteFileAtomically(
            m_path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())))
        return FALSE;
    m_onDisk = bytes;
    m_modified = FALSE;
    return TRUE;
}
