// The work screen's printing (57607): the preset-key sheet.

#include <algorithm>

#include "platform/print/print_info.h"
#include "platform/wnd/docview/doc.h"
#include "screens/kind_of_view.h"

void CKindOfView::OnFilePrint()
{
    if (!m_print.PrepareSheet(this, m_presetKeys.GetKeyTexts(), m_presetKeys.GetShownLineStarts()))
        return;
    // The job, and so its PDF file, carries the item database's name.
    if (CDocument* doc = GetDocument(); doc && !m_strItemDbPath.IsEmpty())
        doc->SetTitle(m_strItemDbPath.Mid(
            std::max(m_strItemDbPath.ReverseFind('\\'), m_strItemDbPath.ReverseFind('/')) + 1));
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
