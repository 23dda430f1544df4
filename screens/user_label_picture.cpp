#include "screens/user_label_picture.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/pen.h"
#include "platform/wnd/core/wnd.h"

namespace {

constexpr int kPalette = 600;
constexpr COLORREF kPaletteLineColor = 0x00FF0000;
const CRect kEmptyLabel(kLabelLeft, kLabelTop, 300, 260);

} // namespace

CUserLabelPicture::CUserLabelPicture()
    : m_labelRect(kEmptyLabel)
{
    m_heights.fill(kDefaultFieldHeight);
    for (CRectTracker& tracker : m_trackers)
        tracker.m_nStyle = CRectTracker::solidLine;
}

void CUserLabelPicture::Load()
{
    ClearLabel();
    m_heights.fill(kDefaultFieldHeight);
    for (int i = 0; i < kLabelFieldCount; ++i) {
        const std::size_t n = static_cast<std::size_t>(i);
        if (i != kFieldBarcode)
            m_bitmaps[n].LoadBitmap(LabelFields()[n].bitmap);
        PlaceField(i, FieldHomeRect(i, m_nPalette));
        m_rectHome[n] = m_rectNow[n];
    }
}

void CUserLabelPicture::ClearLabel()
{
    m_labelRect = kEmptyLabel;
    m_nPalette = kPalette;
}

void CUserLabelPicture::PlaceField(int index, const CRect& rect)
{
    m_rectNow[static_cast<std::size_t>(index)] = rect;
    m_trackers[static_cast<std::size_t>(index)].m_rect = rect;
}

void CUserLabelPicture::SendHome(int index)
{
    m_heights[static_cast<std::size_t>(index)] = kDefaultFieldHeight;
    PlaceField(index, m_rectHome[static_cast<std::size_t>(index)]);
}

void CUserLabelPicture::ResetField(int index)
{
    m_rectHome[static_cast<std::size_t>(index)] = FieldHomeRect(index, m_nPalette);
    SendHome(index);
    if (index == kFieldBarcode)
        SetBarcodeForm(0);
}

void CUserLabelPicture::SizeField(int index, int kind)
{
    const std::size_t i = static_cast<std::size_t>(index);
    m_heights[i] = FieldHeightOfKind(kind);
    CRect rect = m_rectNow[i];
    rect.bottom = rect.top + m_rectHome[i].Height() + m_heights[i] - kDefaultFieldHeight;
    PlaceField(index, rect);
}

void CUserLabelPicture::SizeText(int index, int kind, int lines)
{
    SizeField(index, kind);
    if (lines <= 0) {
        SendHome(index);
        return;
    }
    const std::size_t i = static_cast<std::size_t>(index);
    m_heights[i] *= lines;
    CRect rect = m_rectNow[i];
    rect.bottom = rect.top + rect.Height() * lines;
    PlaceField(index, rect);
}

void CUserLabelPicture::SetBarcodeForm(int form)
{
    CBitmap& bitmap = m_bitmaps[kFieldBarcode];
    bitmap.DeleteObject();
    bitmap.LoadBitmap(BarcodeBitmap(form));
    const CPoint corner = m_rectNow[kFieldBarcode].TopLeft();
    PlaceField(kFieldBarcode, CRect(corner, BarcodeSize(form)));
}

int CUserLabelPicture::FieldAt(CPoint point) const
{
    for (int i = 0; i < kLabelFieldCount; ++i) {
        if (m_trackers[static_cast<std::size_t>(i)].HitTest(point) != CRectTracker::hitNothing)
            return i;
    }
    return -1;
}

int CUserLabelPicture::DragField(CWnd& window, CPoint point)
{
    const int index = FieldAt(point);
    if (index < 0)
        return -1;
    CRectTracker& tracker = m_trackers[static_cast<std::size_t>(index)];
    tracker.Track(&window, point, FALSE);
    m_rectNow[static_cast<std::size_t>(index)] = tracker.m_rect;
    return DropField(index) ? index : -1;
}

BOOL CUserLabelPicture::DropField(int index)
{
    CRect rect = m_rectNow[static_cast<std::size_t>(index)];
    if (!IsOnLabel(m_labelRect, rect.left, rect.top)) {
        SendHome(index);
        return FALSE;
    }
    if (rect.left < m_labelRect.left)
        rect.OffsetRect(m_labelRect.left - rect.left, 0);
    if (rect.top < m_labelRect.top)
        rect.OffsetRect(0, m_labelRect.top - rect.top);
    if (index == kFieldItemName || index == kFieldOrigin || IsLabelTextField(index))
        rect.right = rect.left + m_labelRect.Width();
    PlaceField(index, rect);
    return TRUE;
}

BOOL CUserLabelPicture::SetCursor(CWnd& window, UINT hitTest) const
{
    for (const CRectTracker& tracker : m_trackers) {
        if (tracker.SetCursor(&window, hitTest))
            return TRUE;
    }
    return FALSE;
}

void CUserLabelPicture::Draw(CDC& dc)
{
    CPen frame(PS_SOLID, 2, RGB(0, 0, 0));
    CPen* old = dc.SelectObject(&frame);
    CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(&m_labelRect);
    dc.SelectObject(oldBrush);
    CPen line(PS_SOLID, 4, kPaletteLineColor);
    dc.SelectObject(&line);
    dc.MoveTo(m_nPalette, 0);
    dc.LineTo(m_nPalette, m_nPalette + 300);
    dc.SelectObject(old);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    for (std::size_t i = 0; i < m_bitmaps.size(); ++i) {
        CBitmap& bitmap = m_bitmaps[i];
        if (!bitmap.GetSafeHandle())
            continue;
        m_rectDrawn[i] = m_rectNow[i];
        BITMAP size {};
        bitmap.GetBitmap(&size);
        CBitmap* previous = memory.SelectObject(&bitmap);
        dc.StretchBlt(m_rectNow[i].left, m_rectNow[i].top, m_rectNow[i].Width(), m_rectNow[i].Height(),
            &memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        memory.SelectObject(previous);
    }
}
