#pragma once
// CPrintDialog: the print dialog and the printer it chooses. The destinations
// are the system's CUPS printers and the PDF printer, which writes each print
// job to a new PDF file in the print folder (AfxGetPrintFolder). On OK (and
// GetDefaults) the dialog makes the printer's DC in m_pd.hDC when PD_RETURNDC
// is set (always, unless the dialog is print-setup only); the DC belongs to
// the caller (CPrintInfo deletes it). UI thread.
//
// Test seam: with PrintScript enabled no dialog is shown (print_script.h).

#include "platform/base/cstring.h"
#include "platform/gdi/gdi_types.h"

class CWnd;

inline constexpr DWORD PD_ALLPAGES = 0x00000000;
inline constexpr DWORD PD_SELECTION = 0x00000001;
inline constexpr DWORD PD_PAGENUMS = 0x00000002;
inline constexpr DWORD PD_NOSELECTION = 0x00000004;
inline constexpr DWORD PD_NOPAGENUMS = 0x00000008;
inline constexpr DWORD PD_COLLATE = 0x00000010;
inline constexpr DWORD PD_PRINTTOFILE = 0x00000020;
inline constexpr DWORD PD_PRINTSETUP = 0x00000040;
inline constexpr DWORD PD_RETURNDC = 0x00000100;
inline constexpr DWORD PD_RETURNDEFAULT = 0x00000400;
inline constexpr DWORD PD_USEDEVMODECOPIES = 0x00040000;
inline constexpr DWORD PD_HIDEPRINTTOFILE = 0x00100000;

inline constexpr short DMORIENT_PORTRAIT = 1;
inline constexpr short DMORIENT_LANDSCAPE = 2;
inline constexpr short DMPAPER_A4 = 9;

// The name of the PDF printer.
inline constexpr const char* kPdfPrinterName = "PDF";
// Resolution of printers that do not state one, and of the PDF printer.
inline constexpr int kDefaultPrinterDpi = 600;

struct DEVMODE {
    char dmDeviceName[32] = {};
    short dmOrientation = DMORIENT_PORTRAIT;
    short dmPaperSize = DMPAPER_A4;
    short dmCopies = 1;
    // Dots per inch.
    short dmPrintQuality = kDefaultPrinterDpi;
    short dmYResolution = kDefaultPrinterDpi;
};

struct PRINTDLG {
    DWORD Flags = 0;
    WORD nFromPage = 0;
    WORD nToPage = 0;
    WORD nMinPage = 1;
    WORD nMaxPage = 0xFFFF;
    WORD nCopies = 1;
    HDC hDC = nullptr;
};

class CPrintDialog {
public:
    // bPrintSetupOnly: the setup form, which makes no DC.
    explicit CPrintDialog(BOOL bPrintSetupOnly,
        DWORD dwFlags
        = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION,
        CWnd* pParentWnd = nullptr);
    virtual ~CPrintDialog() = default;
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    // IDOK with a printer chosen (and its DC in m_pd.hDC), IDCANCEL otherwise.
    virtual INT_PTR DoModal();
    // The default printer (a CUPS default printer, else the PDF printer)
    // without a dialog, and its DC; FALSE when no DC can be made.
    BOOL GetDefaults();
    // m_pd.hDC: the caller deletes it.
    HDC GetPrinterDC() const { return m_pd.hDC; }
    // A new DC for the chosen printer and settings, stored in m_pd.hDC (a DC
    // there before is the caller's); null when none can be made.
    HDC CreatePrinterDC();

    DEVMODE* GetDevMode() { return &m_devMode; }
    CString GetDeviceName() const { return m_devMode.dmDeviceName; }
    CString GetDriverName() const { return m_devMode.dmDeviceName; }
    CString GetPortName() const;
    int GetCopies() const;
    BOOL PrintAll() const { return (m_pd.Flags & (PD_PAGENUMS | PD_SELECTION)) == 0; }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

    PRINTDLG m_pd;

protected:
    BOOL m_bSetupOnly;
    CWnd* m_pParent;
    DEVMODE m_devMode;
};

// The folder of the PDF printer's files (native path of
// C:\Windows\system\Manager\Print under the data root), created when missing.
CString AfxGetPrintFolder();
