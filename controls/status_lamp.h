#pragma once
// CStatusLamp: a 32 x 32 cell of the lamp bitmap (resource 146: 3 columns x 8
// rows of cells, magenta transparent) shown as a send/receive activity lamp.
// Column 1 is a lamp at rest, column 0 lit; Flash lights it for a moment.
// Attached to a static control; UI thread.

#include "platform/gdi/bitmap.h"
#include "platform/wnd/controls/static.h"

class CStatusLamp : public CStatic {
public:
    static constexpr UINT kLampBitmap = 146;
    static constexpr int kCellSize = 32;
    static constexpr int kLitColumn = 0;
    static constexpr int kRestColumn = 1;
    static constexpr UINT_PTR kFlashTimer = 1;
    static constexpr COLORREF kTransparent = RGB(255, 0, 255);

    // Loads the lamp bitmap (one of the same cell layout).
    explicit CStatusLamp(UINT bitmapId = kLampBitmap);
    ~CStatusLamp() override;

    const MessageMap* GetMessageMap() const override;

    // Stores the source row y (pixels), column and row offset, and draws the
    // lamp at once through the control's own DC.
    void SetImage(int y, int column, int offset);
    // Lights the lamp (column 0) and returns it to rest when timer 1 fires
    // after milliseconds; a flash during a flash restarts the timer.
    void Flash(UINT milliseconds);

    BOOL IsFlashing() const { return m_flashing; }
    int GetColumn() const { return m_column; }
    int GetSourceRow() const { return m_y; }

protected:
    void OnTimer(UINT_PTR id);
    LRESULT OnEraseBkgndMessage(WPARAM wParam, LPARAM lParam);
    void OnPaint();

private:
    // Draws the cell into dc over the pixels dc already shows.
    void DrawLamp(CDC* dc, int y, int column, int offset);
    // The lamp picture's place: kCellSize square, centred when the window is larger.
    CRect CellRect() const;

    int m_y = 0;
    int m_offset = 0;
    BOOL m_flashing = FALSE;
    CBitmap m_lamp;
    int m_column = kRestColumn;
};
