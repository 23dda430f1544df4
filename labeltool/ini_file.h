#pragma once
// CIniFile: a text file in the ini layout, read whole and written back whole.
//
//   file    := line*            (CP949, CR LF or LF)
//   line    := "[" name "]"     a section; lines before the first go to the unnamed one
//            | key "=" value    (a line without "=" is a key with an empty value;
//                                blank lines and comments are kept that way)
//
// Sections are found from the first, keys from the last line of their
// section backwards; names compare whole, NUL bytes included. Every line
// the program did not set is written back with its bytes as read, whatever
// they hold. The file is replaced through a temporary file, and never when it
// exists but could not be read, nor when it changed since it was read (or
// last written): another program's change is not written over.

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/base/cstring.h"

class CIniFile {
public:
    CIniFile();
    // Writes the content back when asked to at Open.
    ~CIniFile();
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    // Loads path (a loaded file is first written back and emptied); TRUE when
    // the file could be read, created empty when missing if asked.
    BOOL Open(
        const CString& path, BOOL saveOnDestroy, BOOL createIfMissing, BOOL caseInsensitive, BOOL backup);
    // Forgets every change and reads the file of Open again; TRUE as Open.
    BOOL Reload();
    // The key's value up to its last ";", or def when the section or key is missing.
    CString GetValue(const CString& section, const CString& key, const CString& def = CString()) const;
    // The key's whole value; FALSE when the section or the key is missing.
    BOOL Lookup(const CString& section, const CString& key, CString& value) const;
    // Sets the value; the section and the key are added at the end when missing.
    void SetValue(const CString& section, const CString& key, const CString& value);
    // Removes from the section every line whose key is chosen.
    void DeleteKeys(const CString& section, const std::function<bool(const CString& key)>& chosen);
    // The keys of the section in file order, each once (none when it is missing).
    std::vector<CString> GetKeys(const CString& section) const;
    // Writes the content when modified, first copying the file to a numbered
    // backup when asked. TRUE when the file holds the content (also when
    // nothing was to be written); FALSE when it could not be written, the
    // backup not made, or the file changed since it was read (IsStale), and
    // the file is unchanged.
    BOOL Write(BOOL backup);
    // TRUE when the last Write was refused because another program had
    // changed the file since it was read; Reload shows its content.
    BOOL IsStale() const { return m_stale; }
    // The numbered backup chosen by the first Write with backup; empty before.
    const CString& GetBackupPath() const { return m_backupPath; }

    BOOL IsModified() const { return m_modified; }

private:
    // A line as read: its bytes and its line end ("" for a last line without).
    struct RawLine {
        std::string bytes;
        std::string end;
    };
    struct Entry {
        CString key;
        CString value;
        RawLine raw; // written back while the entry is unchanged
        bool changed = false; // set by SetValue: written as key=value
    };
    struct Section {
        CString name;
        bool header = false; // false for the unnamed section
        RawLine raw;
        std::vector<Entry> entries;
        // Each key (folded when case is ignored) to its last entry; built on
        // the first look-up after entries were removed or read.
        mutable std::unordered_map<std::string, std::size_t> index;
        mutable bool indexed = false;
    };

    BOOL Read(BOOL createIfMissing);
    void Load(const std::string& bytes);
    void AddLine(RawLine raw);
    std::string Text() const;
    BOOL Same(const CString& a, const CString& b) const;
    int FindSection(const CString& name) const;
    int FindKey(const Section& section, const CString& key) const;
    std::string Folded(const CString& key) const;
    // The file's bytes now (empty when it is missing); FALSE when unreadable.
    BOOL ReadBytes(std::string& bytes) const;
    CString ChooseBackupPath() const;
    void Empty();

    CString m_path;
    CString m_backupPath;
    std::vector<Section> m_sections;
    BOOL m_caseInsensitive = FALSE;
    BOOL m_saveOnDestroy = FALSE;
    BOOL m_backup = FALSE;
    BOOL m_modified = FALSE;
    BOOL m_read = FALSE; // the file of m_path was read (or did not exist)
    BOOL m_stale = FALSE;
    std::string m_onDisk; // the bytes last read or written
};
