#pragma once
// CFileDialog: the open and save dialogs. An open dialog without
// OFN_FILEMUSTEXIST accepts a name that does not exist yet (a new file);
// a save dialog with OFN_OVERWRITEPROMPT asks before it accepts an existing
// file. The chosen path is a native path; with a default extension, a name
// typed without one gets it. UI thread.
//
// Test seam: with FileDialogScript enabled no dialog is shown; each DoModal
// is recorded and answered by the next queued path (IDOK, taken as typed)
// or cancel.

#include <optional>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/wnd/core/wnd.h"

inline constexpr DWORD OFN_READONLY = 0x00000001;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

struct OPENFILENAME {
    DWORD Flags = 0;
    LPCTSTR lpstrTitle = nullptr; // nullptr: "Open" or "Save As"
    LPCTSTR lpstrInitialDir = nullptr;
};

class CFileDialog {
public:
    // filter: "Name|pattern;pattern|Name|pattern||" pairs.
    CFileDialog(BOOL openFileDialog, LPCTSTR defaultExt = nullptr, LPCTSTR fileName = nullptr,
        DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
        CWnd* parent = nullptr);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK with a path chosen, IDCANCEL otherwise.
    virtual INT_PTR DoModal();

    CString GetPathName() const { return m_path; }
    // The name with extension, the extension alone, the name without it.
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;

    OPENFILENAME m_ofn;

    BOOL IsOpenDialog() const { return m_bOpen; }
    const CString& GetFilter() const { return m_filter; }
    const CString& GetDefaultExt() const { return m_defaultExt; }

private:
    BOOL m_bOpen;
    CString m_defaultExt;
    CString m_initialName;
    CString m_filter;
    CWnd* m_pParent;
    CString m_path;
};

struct FileDialogRecord {
    BOOL open = TRUE;
    CString title;
    CString filter;
    DWORD flags = 0;
    BOOL hadParent = FALSE;
};

class FileDialogScript {
public:
    static void Enable();
    static void Disable();
    static BOOL IsEnabled();
    // Forgets queued answers and records.
    static void Reset();
    // The next dialog returns IDOK with this path.
    static void PushPath(LPCTSTR path);
    // The next dialog is cancelled (also when nothing is queued).
    static void PushCancel();
    static std::vector<FileDialogRecord> Records();
};
