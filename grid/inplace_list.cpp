#include "grid/inplace_list.h"

#include <algorithm>

#include "grid/grid_ctrl.h"
#include "platform/wnd/core/reflect.h"

namespace {

inline constexpr int kMaxDroppedWidth = 200;

} // namespace

CGridInPlaceList::CGridInPlaceList(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
    COLORREF crFore, COLORREF crBack, const std::vector<CString>& Items, CString sInitText, UINT nFirstChar)
    : CGridInPlaceEditor(nRow, nColumn, FALSE)
    , m_sInitText(sInitText)
    , m_crForeClr(crFore)
    , m_crBackClr(crBack)
{
    const int cellHeight = rect.Height();
    rect.bottom = rect.bottom + m_nNumLines * cellHeight + ::GetSystemMetrics(SM_CYHSCROLL);
    if (!CComboBox::Create(
            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | CBS_AUTOHSCROLL | dwStyle, rect, pParent, nID))
        return;

    for (const CString& item : Items)
        AddString(item);
    if (pParent)
        SendMessage(WM_SETFONT, static_cast<WPARAM>(pParent->SendMessage(WM_GETFONT, 0, 0)), 0);
    SetItemHeight(-1, static_cast<UINT>(cellHeight));

    SetDroppedWidth(static_cast<UINT>(OptionsWidth()));
    SetHorizontalExtent(0);

    if (SelectString(-1, m_sInitText) == CB_ERR)
        SetWindowText(m_sInitText);
    ShowDropDown();

    SetFocus();
    if ((dwStyle & CBS_TYPEMASK) == CBS_DROPDOWNLIST)
        return;
    // The first character replaces the text, except Backspace, which works
    // from its end.
    m_bReplaceText = nFirstChar != VK_BACK;
    switch (nFirstChar) {
    case VK_LBUTTON:
    case VK_RETURN:
        m_bReplaceText = FALSE;
        return;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        m_bReplaceText = FALSE;
        return;
    default:
        SendMessage(nFirstChar >= 128 ? WM_IME_CHAR : WM_CHAR, nFirstChar, 0);
        break;
    }
}

const MessageMap* CGridInPlaceList::GetMessageMap() const
{
    static const MessageMap kMap(CComboBox::GetMessageMap(),
        {
            OnWm<WM_KEYDOWN, &CGridInPlaceList::OnKeyDown>(),
            OnWm<WM_KEYUP, &CGridInPlaceList::OnKeyUp>(),
            OnWm<WM_CHAR, &CGridInPlaceList::OnChar>(),
            OnMessage<&CGridInPlaceList::OnImeChar>(WM_IME_CHAR),
            OnControlReflect<&CGridInPlaceList::OnDropdown>(CBN_DROPDOWN),
            OnWm<WM_KILLFOCUS, &CGridInPlaceList::OnKillFocus>(),
            OnWm<WM_GETDLGCODE, &CGridInPlaceList::OnGetDlgCode>(),
        });
    return &kMap;
}

void CGridInPlaceList::PostNcDestroy()
{
    delete this;
}

void CGridInPlaceList::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (EndsEditOnKeyDown(nChar)) {
        EndByKey(nChar);
        return;
    }
    Default();
}

void CGridInPlaceList::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_ESCAPE)
        SetWindowText(m_sInitText);
    if (nChar == VK_TAB || nChar == VK_RETURN || nChar == VK_ESCAPE) {
        EndByKey(nChar);
        return;
    }
    Default();
}

int CGridInPlaceList::OptionsWidth()
{
    // The widest option plus a scroll bar and a "0", at most 200.
    int width = 0;
    if (HDC screen = GdiCreateScreenDC()) {
        CDC* dc = CDC::FromHandle(screen);
        CFont* font = CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0)));
        CFont* old = font ? dc->SelectObject(font) : nullptr;
        for (int i = 0; i < GetCount(); ++i) {
            CString item;
            GetLBText(i, item);
            width = std::max(width, static_cast<int>(dc->GetTextExtent(item).cx));
        }
        width += ::GetSystemMetrics(SM_CXVSCROLL) + dc->GetTextExtent("0").cx;
        if (old)
            dc->SelectObject(old);
        DeleteDC(screen);
    }
    return std::min(width, kMaxDroppedWidth);
}

void CGridInPlaceList::OnDropdown()
{
    SetDroppedWidth(static_cast<UINT>(OptionsWidth()));
}

BOOL CGridInPlaceList::PreTranslateMessage(MSG* pMsg)
{
    // Alt+key does not reach the menus while a cell is edited.
    if (pMsg->message == WM_SYSCHAR)
        return TRUE;
    return CComboBox::PreTranslateMessage(pMsg);
}

void CGridInPlaceList::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_TAB || nChar == VK_RETURN || nChar == VK_ESCAPE)
        return;
    TypeCharacter(nChar);
}

LRESULT CGridInPlaceList::OnImeChar(WPARAM wParam, LPARAM)
{
    TypeCharacter(static_cast<UINT>(wParam));
    return 0;
}

// Typing in the selection field (a code point; Korean arrives whole).
void CGridInPlaceList::TypeCharacter(UINT nChar)
{
    if ((GetStyle() & CBS_TYPEMASK) == CBS_DROPDOWNLIST)
        return;
    CString text;
    if (!m_bReplaceText)
        GetWindowText(text);
    m_bReplaceText = FALSE;
    if (nChar == VK_BACK) {
        int end = text.GetLength();
        while (end > 0 && (static_cast<unsigned char>(text.GetAt(end - 1)) & 0xC0) == 0x80)
            --end;
        text = text.Left(std::max(0, end - 1));
    } else if (nChar >= 0x20) {
        text += Utf8OfCodePoint(nChar);
    }
    SetWindowText(text);
}

void CGridInPlaceList::OnKillFocus(CWnd* pNewWnd)
{
    Default();
    if (pNewWnd != this)
        EndEdit();
}

UINT CGridInPlaceList::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}
