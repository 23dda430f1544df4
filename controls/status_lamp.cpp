#include "controls/status_lamp.h"

#include "platform/wnd/core/client_dc.h"
#include "platform/wnd/core/paint_dc.h"

CStatusLamp::CStatusLamp(UINT bitmapId)
{
    m_lamp.LoadBitmap(bitmapId);
}

CStatusLamp::~CStatusLamp() = default;

const MessageMap* CStatusLamp::GetMessageMap() const
{
    static const MessageMap kMap(CStatic::GetMessageMap(),
        {
            OnWm<WM_TIMER, &CStatusLamp::OnTimer>(),
            OnMessage<&CStatusLamp::OnEraseBkgndMessage>(WM_ERASEBKGND),
            OnWm<WM_PAINT, &CStatusLamp::OnPaint>(),
        });
    return &kMap;
}

void CStatusLamp::SetImage(int y, int column, int offset)
{
    m_y = y;
    m_column = column;
    m_offset = offset;
    if (!GetSafeHwnd())
        return;
    CClientDC dc(this);
    DrawLamp(&dc, y, column, offset);
}

void CStatusLamp::Flash(UINT milliseconds)
{
    if (m_flashing)
        KillTimer(kFlashTimer);
    m_flashing = TRUE;
    SetImage(m_y, kLitColumn, m_offset);
    SetTimer(kFlashTimer, milliseconds);
}

void CStatusLamp::OnTimer(UINT_PTR id)
{
    if (id == kFlashTimer) {
        SetImage(m_y, kRestColumn, m_offset);
        KillTimer(kFlashTimer);
        m_flashing = FALSE;
    }
    CStatic::OnTimer(id);
}

LRESULT CStatusLamp::OnEraseBkgndMessage(WPARAM, LPARAM)
{
    return TRUE;
}

void CStatusLamp::OnPaint()
{
    CPaintDC paint(this);
    // The cell is drawn over what the window shows, which the paint DC cannot
    // read: draw on the client DC (what lies beneath) and copy the result.
    // Only the cell is copied: around it the window shows what lies beneath
    // (a frame it overlaps stays whole), as its background is never erased.
    CClientDC screen(this);
    DrawLamp(&screen, m_y, m_column, m_offset);
    const CRect cell = CellRect();
    paint.BitBlt(cell.left, cell.top, cell.Width(), cell.Height(), &screen, cell.left, cell.top, SRCCOPY);
}

CRect CStatusLamp::CellRect() const
{
    CRect cell;
    GetClientRect(&cell);
    if (cell.Width() >= kCellSize && cell.Height() >= kCellSize)
        cell.DeflateRect((cell.Width() - kCellSize) / 2, (cell.Height() - kCellSize) / 2);
    return CRect(cell.left, cell.top, cell.left + kCellSize, cell.top + kCellSize);
}

void CStatusLamp::DrawLamp(CDC* dc, int y, int column, int offset)
{
    if (!dc || !m_lamp.GetSafeHandle())
        return;
    const CRect cell = CellRect();
    const int sourceX = column * kCellSize;
    const int sourceY = y + offset;

    CDC lampDC;
    CDC maskDC;
    CDC workDC;
    CBitmap mask;
    CBitmap work;
    lampDC.CreateCompatibleDC(dc);
    maskDC.CreateCompatibleDC(dc);
    workDC.CreateCompatibleDC(dc);
    mask.CreateBitmap(kCellSize, kCellSize, 1, 1, nullptr);
    work.CreateCompatibleBitmap(dc, kCellSize, kCellSize);
    CBitmap* oldLamp = lampDC.SelectObject(&m_lamp);
    CBitmap* oldMask = maskDC.SelectObject(&mask);
    CBitmap* oldWork = workDC.SelectObject(&work);

    const COLORREF oldBk = lampDC.SetBkColor(kTransparent);
    maskDC.BitBlt(0, 0, kCellSize, kCellSize, &lampDC, sourceX, sourceY, SRCCOPY);
    lampDC.SetBkColor(oldBk);

    workDC.BitBlt(0, 0, kCellSize, kCellSize, dc, cell.left, cell.top, SRCCOPY);
    workDC.BitBlt(0, 0, kCellSize, kCellSize, &lampDC, sourceX, sourceY, SRCINVERT);
    workDC.BitBlt(0, 0, kCellSize, kCellSize, &maskDC, 0, 0, SRCAND);
    workDC.BitBlt(0, 0, kCellSize, kCellSize, &lampDC, sourceX, sourceY, SRCINVERT);
    dc->BitBlt(cell.left, cell.top, kCellSize, kCellSize, &workDC, 0, 0, SRCCOPY);

    lampDC.SelectObject(oldLamp);
    maskDC.SelectObject(oldMask);
    workDC.SelectObject(oldWork);
}
