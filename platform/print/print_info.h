#pragma once
// CPrintInfo: one print or preview run of a view (CView::OnFilePrint). It owns
// the run's print dialog and the printer DC the dialog made. UI thread.

#include "platform/gdi/gdi_types.h"

class CPrintDialog;

class CPrintInfo {
public:
    CPrintInfo();
    // Deletes the dialog and its printer DC.
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT nMinPage);
    void SetMaxPage(UINT nMaxPage);
    UINT GetMinPage() const;
    // 0xFFFF: not known (the loop ends after page 1 unless the view goes on).
    UINT GetMaxPage() const;
    // The pages to print: the dialog's range when it has one, else all.
    UINT GetFromPage() const;
    UINT GetToPage() const;

    CPrintDialog* m_pPD;
    BOOL m_bDirect = FALSE; // print with the default printer, no dialog
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    void* m_lpUserData = nullptr;
    // The page's printable area in device units, set before each OnPrint.
    CRect m_rectDraw;
};
