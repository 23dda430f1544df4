// The work screen's printing (57607): the preset-key sheet.

#include "platform/print/print_info.h"
#include "screens/kind_of_view.h"

void CKindOfView::OnFilePrint()
{
    if (m_print.PrepareSheet(this, m_presetKeys.GetKeyTexts()))
        CView::OnFilePrint();
}

BOOL CKindOfView::OnPreparePrinting(CPrintInfo* info)
{
    info->SetMaxPage(1);
    return DoPreparePrinting(info);
}

void CKindOfView::OnBeginPrinting(CDC*, CPrintInfo*) { }

void CKindOfView::OnEndPrinting(CDC*, CPrintInfo*) { }

void CKindOfView::OnPrint(CDC* dc, CPrintInfo* info)
{
    m_print.Print(dc, info);
}
