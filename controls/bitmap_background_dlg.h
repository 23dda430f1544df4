#pragma once
// CBitmapBackgroundDlg: a dialog base that paints a bitmap as its background
// in one of 13 placements, can cut the window to the bitmap's shape by leaving
// out one transparent colour, and can be moved by dragging its client area.
// UI thread.

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/wnd/dialogs/dialog.h"

class CBitmapBackgroundDlg : public CDialog {
public:
    // Placements of the bitmap.
    static constexpr BYTE kTile = 0;
    static constexpr BYTE kCenter = 1;
    static constexpr BYTE kStretch = 2;
    static constexpr BYTE kTileTop = 3;
    static constexpr BYTE kTileBottom = 4;
    static constexpr BYTE kTileLeft = 5;
    static constexpr BYTE kTileRight = 6;
    static constexpr BYTE kTopLeft = 7;
    static constexpr BYTE kTopRight = 8;
    static constexpr BYTE kTopCenter = 9;
    static constexpr BYTE kBottomLeft = 10;
    static constexpr BYTE kBottomRight = 11;
    static constexpr BYTE kBottomCenter = 12;
    static constexpr BYTE kDrawModeCount = 13;
    // No transparent colour: the window keeps its rectangle.
    static constexpr COLORREF kNoTransparency = 0xFFFFFFFF;

    CBitmapBackgroundDlg();
    explicit CBitmapBackgroundDlg(UINT templateId, CWnd* parent = nullptr);
    // Template by name: "#130" (or "130") names template 130; a name that
    // gives no number leaves no template, so the dialog cannot be created.
    explicit CBitmapBackgroundDlg(LPCTSTR templateName, CWnd* parent = nullptr);
    // Frees the bitmap and the region.
    ~CBitmapBackgroundDlg() override;

    const MessageMap* GetMessageMap() const override;

    // Loads bitmap resource id and passes it to SetBackground; a missing
    // bitmap is passed on as none (the background is freed, result 0).
    DWORD LoadBackground(UINT bitmapId, COLORREF transparent = kNoTransparency);
    // Takes the bitmap (null: none). 0 on success, 1 when its size cannot be
    // read, 3 when the window region cannot be made. With a transparent colour
    // the window region leaves out every pixel of that colour.
    DWORD SetBackground(HBITMAP bitmap, COLORREF transparent = kNoTransparency);
    // 2 (nothing changed) for a mode of 13 or more in the low byte.
    DWORD SetDrawMode(DWORD mode, BOOL repaint = TRUE);
    DWORD SetDragByClientArea(DWORD drag);
    // Sizes the window so that its client area has the bitmap's size; the
    // draw mode becomes centred.
    DWORD SizeWindowToBackground(BOOL repaint = TRUE);

    BYTE GetDrawMode() const { return m_drawMode; }
    HRGN GetWindowRegion() const { return m_region; }
    CSize GetBackgroundSize() const { return CSize(m_width, m_height); }

    // The region of bitmap without the pixels of colour transparent (window
    // coordinates, all columns and rows); null on failure. The caller deletes it.
    static HRGN BuildRegion(HBITMAP bitmap, COLORREF transparent);

protected:
    // Called at the end of each background paint with the memory DC.
    virtual void OnBackgroundDrawn(CDC* memoryDC);

    LRESULT OnEraseBkgndMessage(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnLButtonDown(UINT flags, CPoint point);

private:
    void FreeBackground();
    void DrawBitmap(CDC* target, CDC* source, const CRect& client);

    HBITMAP m_bitmap = nullptr;
    HRGN m_region = nullptr;
    int m_width = 0;
    int m_height = 0;
    BYTE m_drawMode = kTile;
    DWORD m_dragByClientArea = 0;
};
