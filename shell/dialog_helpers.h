#pragma once
// What the shell's dialogs share: their icon ids, the dialog with icon OK
// and Cancel buttons, reading a number as the entry tests do, and writing a
// settings file with the failure shown.

#include "controls/icon_button.h"
#include "platform/wnd/dialogs/dialog.h"

inline constexpr int kOkIcon = 163;
inline constexpr int kCancelIcon = 162;

// The leading decimal number of text, as atoi reads it (0 when there is none).
long LeadingNumber(const CString& text);

// Replaces the settings file with text; on failure shows which file could not
// be written and why, and returns FALSE.
BOOL WriteSettingsOrReport(const CString& path, const CString& text);

// A dialog whose OK (IDOK) and Cancel (IDCANCEL) are icon buttons with the
// tips "Ok" and "Cancel".
class CIconOkCancelDlg : public CDialog {
public:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

protected:
    CIconOkCancelDlg(UINT templateId, CWnd* parent);

    CIconButton m_okButton;
    CIconButton m_cancelButton;
};
