#include "grid/inplace_edit.h"

#include <algorithm>

#include "grid/grid_ctrl.h"

CGridInPlaceEdit::CGridInPlaceEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
    CString sInitText, UINT nFirstChar)
    : CGridInPlaceEditor(nRow, nColumn, nFirstChar != VK_LBUTTON)
    , m_sInitText(sInitText)
    , m_Rect(rect)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | ES_RIGHT | dwStyle;
    if (!CEdit::Create(style, rect, pParent, nID))
        return;
    if (pParent)
        SendMessage(WM_SETFONT, static_cast<WPARAM>(pParent->SendMessage(WM_GETFONT, 0, 0)), 0);
    SetWindowText(sInitText);
    SetFocus();

    const int length = sInitText.GetLength();
    switch (nFirstChar) {
    case VK_LBUTTON:
    case VK_RETURN:
        SetSel(length, length);
        return;
    case VK_BACK:
        SetSel(length, length);
        break;
    case VK_TAB:
    case VK_SPACE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        SetSel(0, -1);
        return;
    default:
        SetSel(0, -1);
        break;
    }
    PostMessage(nFirstChar >= 128 ? WM_IME_CHAR : WM_CHAR, nFirstChar, 0);
}

CGridInPlaceEdit::~CGridInPlaceEdit() = default;

const MessageMap* CGridInPlaceEdit::GetMessageMap() const
{
    static const MessageMap kMap(CEdit::GetMessageMap(),
        {
            OnWm<WM_KEYDOWN, &CGridInPlaceEdit::OnKeyDown>(),
            OnWm<WM_CHAR, &CGridInPlaceEdit::OnChar>(),
            OnMessage<&CGridInPlaceEdit::OnImeChar>(WM_IME_CHAR),
            OnMessage<&CGridInPlaceEdit::OnPaste>(WM_PASTE),
            OnWm<WM_KILLFOCUS, &CGridInPlaceEdit::OnKillFocus>(),
            OnWm<WM_GETDLGCODE, &CGridInPlaceEdit::OnGetDlgCode>(),
        });
    return &kMap;
}

void CGridInPlaceEdit::PostNcDestroy()
{
    delete this;
}

BOOL CGridInPlaceEdit::PreTranslateMessage(MSG* pMsg)
{
    // Alt+key does not reach the menus while a cell is edited.
    if (pMsg->message == WM_SYSCHAR)
        return TRUE;
    return CEdit::PreTranslateMessage(pMsg);
}

void CGridInPlaceEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (EndsEditOnKeyDown(nChar)) {
        EndByKey(nChar);
        return;
    }
    Default();
}

void CGridInPlaceEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_TAB || nChar == VK_RETURN) {
        EndByKey(nChar);
        return;
    }
    if (nChar == VK_ESCAPE) {
        SetWindowText(m_sInitText);
        EndByKey(nChar);
        return;
    }
    TypeCharacter(nChar);
    Widen();
}

LRESULT CGridInPlaceEdit::OnImeChar(WPARAM wParam, LPARAM)
{
    TypeCharacter(static_cast<UINT>(wParam));
    Widen();
    return 0;
}

LRESULT CGridInPlaceEdit::OnPaste(WPARAM, LPARAM)
{
    COleDataObject data;
    if (!data.AttachClipboard())
        return 0;
    CString text = data.GetText();
    const int end = text.FindOneOf("\r\n");
    if (end >= 0)
        text = text.Left(end);
    ReplaceSel(text);
    Widen();
    return 0;
}

void CGridInPlaceEdit::TypeCharacter(UINT nChar)
{
    int start = 0;
    int end = 0;
    GetSel(start, end);
    if (nChar == VK_BACK) {
        if (start == end && start > 0) {
            // Back over one whole UTF-8 character.
            CString text;
            GetWindowText(text);
            int prev = start - 1;
            while (prev > 0 && (static_cast<unsigned char>(text.GetAt(prev)) & 0xC0) == 0x80)
                --prev;
            SetSel(prev, start);
        }
        ReplaceSel("");
        return;
    }
    if (nChar < 0x20)
        return;
    ReplaceSel(Utf8OfCodePoint(nChar));
}

void CGridInPlaceEdit::Widen()
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    CString text;
    GetWindowText(text);
    text += "  ";
    HDC screen = GdiCreateScreenDC();
    if (!screen)
        return;
    CDC* dc = CDC::FromHandle(screen);
    CFont* font = CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0)));
    CFont* old = font ? dc->SelectObject(font) : nullptr;
    const CSize size = dc->GetTextExtent(text);
    if (old)
        dc->SelectObject(old);
    DeleteDC(screen);

    CRect parentRect;
    parent->GetClientRect(parentRect);
    if (size.cx > m_Rect.Width()) {
        m_Rect.right = std::min(static_cast<int>(m_Rect.left + size.cx), static_cast<int>(parentRect.right));
        MoveWindow(m_Rect, TRUE);
    }
}

void CGridInPlaceEdit::OnKillFocus(CWnd*)
{
    Default();
    EndEdit();
}

UINT CGridInPlaceEdit::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}
