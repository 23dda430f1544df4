// CIniFile.

#include "labeltool/ini_file.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

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
    Empty();
    m_path = path;
    m_backupPath.Empty();
    m_saveOnDestroy = saveOnDestroy;
    m_caseInsensitive = caseInsensitive;
    m_backup = backup;
    CFile file;
    UINT flags = CFile::modeReadWrite | CFile::shareDenyNone | CFile::typeBinary;
    if (createIfMissing)
        flags |= CFile::modeCreate | CFile::modeNoTruncate;
    if (!file.Open(path, flags))
        return FALSE;
    std::string bytes(static_cast<std::size_t>(file.GetLength()), '\0');
    bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    file.Close();
    Load(Cp949ToUtf8(bytes));
    return TRUE;
}

void CIniFile::Load(const std::string& text)
{
    for (const IniTextLine& line : SplitIniLines(text)) {
        if (line.kind == IniTextLine::Kind::Section) {
            m_sections.push_back({ CString(line.name.c_str()), {}, {}, {} });
            continue;
        }
        Section& section = m_sections.back();
        section.keys.emplace_back(line.name.c_str());
        section.values.emplace_back(line.value.c_str());
        section.bare.push_back(line.kind == IniTextLine::Kind::Other);
    }
}

BOOL CIniFile::Same(const CString& a, const CString& b) const
{
    if (!m_caseInsensitive)
        return a == b;
    const std::string_view x(a.GetString()), y(b.GetString());
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

int CIniFile::FindKey(const Section& section, const CString& key) const
{
    for (std::size_t i = section.keys.size(); i-- > 0;)
        if (Same(section.keys[i], key))
            return static_cast<int>(i);
    return -1;
}

CString CIniFile::GetValue(const CString& section, const CString& key, const CString& def) const
{
    const int s = FindSection(section);
    if (s < 0)
        return def;
    const Section& found = m_sections[static_cast<std::size_t>(s)];
    const int k = FindKey(found, key);
    if (k < 0)
        return def;
    const std::string value = found.values[static_cast<std::size_t>(k)].GetString();
    const std::size_t semicolon = value.rfind(';');
    return CString(semicolon == std::string::npos ? value.c_str() : value.substr(0, semicolon).c_str());
}

void CIniFile::SetValue(const CString& section, const CString& key, const CString& value)
{
    int s = FindSection(section);
    if (s < 0) {
        m_sections.push_back({ section, {}, {}, {} });
        s = static_cast<int>(m_sections.size()) - 1;
    }
    Section& found = m_sections[static_cast<std::size_t>(s)];
    const int k = FindKey(found, key);
    if (k < 0) {
        found.keys.push_back(key);
        found.values.push_back(value);
        found.bare.push_back(false);
    } else if (found.values[static_cast<std::size_t>(k)] == value) {
        return;
    } else {
        found.values[static_cast<std::size_t>(k)] = value;
        found.bare[static_cast<std::size_t>(k)] = false;
    }
    m_modified = TRUE;
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

CString CIniFile::Write(BOOL backup)
{
    if (!m_modified || m_path.IsEmpty())
        return CString();
    if (backup) {
        if (m_backupPath.IsEmpty())
            m_backupPath = ChooseBackupPath();
        (void)CopyFile(m_path, m_backupPath, FALSE);
    }
    std::string text;
    for (const Section& section : m_sections) {
        if (!section.name.IsEmpty())
            text += std::string("[") + section.name.GetString() + "]\r\n";
        for (std::size_t i = 0; i < section.keys.size(); ++i) {
            text += section.keys[i].GetString();
            if (!section.keys[i].IsEmpty() && !section.bare[i])
                text += '=';
            text += section.values[i].GetString();
            text += "\r\n";
        }
    }
    const std::string bytes = Utf8ToCp949(text);
    if (WriteFileAtomically(
            m_path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())))
        m_modified = FALSE;
    return backup ? m_backupPath : CString();
}
