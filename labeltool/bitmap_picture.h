#pragma once
// CBitmapPicture: a static control that shows a bitmap resource at its
// top-left corner (the cassette drawing, the about picture).

#include "platform/gdi/bitmap.h"
#include "platform/wnd/controls/static.h"

class CBitmapPicture : public CStatic {
public:
    explicit CBitmapPicture(UINT bitmapId);

    const MessageMap* GetMessageMap() const override;

protected:
    void OnPaint();

private:
    CBitmap m_bitmap;
};
