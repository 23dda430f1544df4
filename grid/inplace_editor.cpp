#include "grid/inplace_editor.h"

#include <string>

void CGridInPlaceEditor::EndEdit()
{
    if (m_bEnded)
        return;
    m_bEnded = TRUE;
    CWnd& editor = EditorWnd();
    const HWND self = editor.GetSafeHwnd();
    CString text;
    if (self) {
        BeforeEndReport();
        editor.GetWindowText(text);
    }

    GRIDDISPINFO dispinfo {};
    dispinfo.hdr.hwndFrom = self;
    dispinfo.hdr.idFrom = static_cast<UINT_PTR>(editor.GetDlgCtrlID());
    dispinfo.hdr.code = static_cast<UINT>(GRIDNOTIFY_ENDEDIT);
    dispinfo.item.mask = GRIDITEM_TEXT | GRIDITEM_DATA;
    dispinfo.item.row = m_nRow;
    dispinfo.item.col = m_nColumn;
    dispinfo.item.strText = text;
    dispinfo.item.lParam = static_cast<LPARAM>(m_nLastChar);
    if (CWnd* owner = editor.GetParent(); owner && owner->GetSafeHwnd())
        owner->SendMessage(WM_NOTIFY, dispinfo.hdr.idFrom, reinterpret_cast<LPARAM>(&dispinfo));
    if (IsWindow(self))
        ::PostMessage(self, WM_CLOSE, 0, 0);
}

void CGridInPlaceEditor::CancelEdit()
{
    m_bEnded = TRUE;
    CWnd& editor = EditorWnd();
    if (editor.GetSafeHwnd())
        editor.DestroyWindow();
}

BOOL CGridInPlaceEditor::EndsEditOnKeyDown(UINT nChar) const
{
    const BOOL navigation = nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_DOWN || nChar == VK_UP
        || nChar == VK_RIGHT || nChar == VK_LEFT;
    return navigation && (m_bExitOnArrows || GetKeyState(VK_CONTROL) < 0);
}

void CGridInPlaceEditor::EndByKey(UINT nChar)
{
    m_nLastChar = nChar;
    if (CWnd* parent = EditorWnd().GetParent())
        parent->SetFocus();
    // The focus loss ends the edit; end it here too where no focus change is
    // reported (the end runs once either way).
    EndEdit();
}

CString Utf8OfCodePoint(UINT codePoint)
{
    std::string out;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x110000) {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return CString(std::move(out));
}
