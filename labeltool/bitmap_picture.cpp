// A static control showing a bitmap.

#include "labeltool/bitmap_picture.h"

#include "platform/wnd/core/paint_dc.h"

CBitmapPicture::CBitmapPicture(UINT bitmapId)
{
    m_bitmap.LoadBitmap(bitmapId);
}

const MessageMap* CBitmapPicture::GetMessageMap() const
{
    static const MessageMap kMap(CStatic::GetMessageMap(), { OnWm<WM_PAINT, &CBitmapPicture::OnPaint>() });
    return &kMap;
}

void CBitmapPicture::OnPaint()
{
    CPaintDC dc(this);
    BITMAP info {};
    if (!m_bitmap.GetSafeHandle() || !m_bitmap.GetBitmap(&info))
        return;
    CDC source;
    source.CreateCompatibleDC(&dc);
    CBitmap* old = source.SelectObject(&m_bitmap);
    dc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &source, 0, 0, SRCCOPY);
    source.SelectObject(old);
}
