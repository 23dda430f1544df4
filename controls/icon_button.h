#pragma once
// CIconButton: the owner-drawn push button of the dialogs and the left pane.
// It paints an icon (or a bitmap drawn through a mask) beside, above or under
// its caption, with a flat look that shows a raised edge while the mouse is
// over it; it has a tooltip, an optional check-box behaviour, and three
// optional click actions (a popup menu, a URL, a sound). UI thread.

#include "controls/drawn_menu.h"
#include "platform/base/resource.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/tooltip.h"

// Result codes of the setters.
inline constexpr DWORD kIconButtonOk = 0;
inline constexpr DWORD kIconButtonInvalidResource = 1;
inline constexpr DWORD kIconButtonFailedMask = 2;
inline constexpr DWORD kIconButtonInvalidIndex = 3;
inline constexpr DWORD kIconButtonInvalidAlign = 4;
inline constexpr DWORD kIconButtonBadParam = 5;
inline constexpr DWORD kIconButtonInvalidPressedStyle = 6;

class CIconButton : public CButton {
public:
    // Colour indexes.
    static constexpr BYTE kColorBkIn = 0;
    static constexpr BYTE kColorFgIn = 1;
    static constexpr BYTE kColorBkOut = 2;
    static constexpr BYTE kColorFgOut = 3;
    static constexpr BYTE kColorBkFocus = 4;
    static constexpr BYTE kColorFgFocus = 5;
    static constexpr BYTE kMaxColors = 6;
    // Image alignments.
    static constexpr BYTE kAlignHorizontal = 0;
    static constexpr BYTE kAlignVertical = 1;
    static constexpr BYTE kAlignHorizontalRight = 2;
    static constexpr BYTE kAlignOverlap = 3;
    // Out-image choices for LoadIcons/SetIcons/LoadBitmaps/SetBitmaps: a darker
    // or a gray copy of the in image, or none (the in image in every state).
    static constexpr int kAutoDarker = -3;
    static constexpr int kAutoGray = -2;
    static constexpr int kNoOutImage = 0;
    // Pressed styles.
    static constexpr BYTE kPressedRightBottom = 0;
    static constexpr BYTE kPressedDown = 1;
    // Longest URL and sound name kept, without the terminating zero.
    static constexpr int kMaxTextLength = 259;

    CIconButton();
    // Frees the images, the cursor, the saved background and the popup menu.
    ~CIconButton() override;

    const MessageMap* GetMessageMap() const override;

    // Switches to owner drawing; style bit 0x2 turns on check-box mode,
    // BS_DEFPUSHBUTTON makes it the default button.
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

    // ---- Images (each frees the previous ones and repaints) ----------------
    // idOut: a resource id, kAutoDarker, kAutoGray or kNoOutImage. Sizes 0 take
    // the resource's own size.
    DWORD LoadIcons(int idIn, int idOut = kNoOutImage);
    DWORD LoadIcons(int idIn, int cxIn, int cyIn, int idOut, int cxOut, int cyOut);
    // The button owns and destroys both icons. hOut may also be kAutoDarker or
    // kAutoGray (cast to HICON).
    DWORD SetIcons(HICON in, HICON out);
    DWORD LoadBitmaps(int idIn, COLORREF transparentIn, int idOut = kNoOutImage, COLORREF transparentOut = 0);
    DWORD SetBitmaps(HBITMAP in, COLORREF transparentIn, HBITMAP out = nullptr, COLORREF transparentOut = 0);
    // Resizes the window to the in image and sets the image margins to 0.
    void SizeToContent();

    // ---- Look ---------------------------------------------------------------------
    DWORD SetFlat(BOOL flat = TRUE, BOOL repaint = TRUE);
    DWORD SetImageAlign(BYTE align, BOOL repaint = TRUE);
    DWORD SetPressedStyle(BYTE style, BOOL repaint = TRUE);
    DWORD SetDrawBorder(BOOL draw = TRUE, BOOL repaint = TRUE);
    DWORD SetFocusInFlat(BOOL draw, BOOL repaint = TRUE);
    DWORD SetDefaultColors(BOOL repaint = TRUE);
    DWORD SetColor(BYTE index, COLORREF color, BOOL repaint = TRUE);
    DWORD GetColor(BYTE index, COLORREF* color) const;
    // Adds offset (-255..255) to each channel of colour index, by the same
    // amount for all three so that none is clipped.
    DWORD ShiftColor(BYTE index, short offset, BOOL repaint = TRUE);
    DWORD SetTrackAlways(BOOL always = TRUE);
    // Cursor resource cursorId over the button; the old cursor is destroyed.
    // 0 removes the cursor; 1 when the cursor cannot be loaded.
    DWORD SetButtonCursor(int cursorId, BOOL repaint = FALSE);
    // Check-box mode only.
    DWORD SetCheck(int checked, BOOL repaint = TRUE);
    int GetCheck() const { return m_checked; }
    BOOL IsDefaultButton() const { return m_isDefault; }
    BOOL IsFlat() const { return m_flat; }
    BOOL IsMouseOver() const { return m_mouseOver; }
    BOOL IsCheckBoxMode() const { return m_checkBoxMode; }

    // ---- Tooltip -------------------------------------------------------------------
    // A null text does nothing; the first call adds the client area as tool 1.
    void SetTipText(LPCTSTR text, BOOL activate = TRUE);
    // The text of string-table entry id; an empty or missing entry does nothing.
    void SetTipText(UINT stringId, BOOL activate = TRUE);
    void ActivateTip(BOOL activate = TRUE);
    void UseBalloonTip();
    CToolTipCtrl& GetToolTip() { return m_toolTip; }

    // ---- Transparent mode --------------------------------------------------------
    // Switches transparent mode on (the face shows the parent's pixels as they
    // were at the next paint) and drops the saved background.
    DWORD SetTransparentMode(BOOL repaint = FALSE);
    BOOL IsTransparentMode() const { return m_transparent; }
    // Drops the saved background and copies it at once from dc, a DC in the
    // parent's client coordinates, at the button's place (5 without
    // transparent mode or dc).
    DWORD CaptureBackground(CDC* dc);

    // ---- Click actions -------------------------------------------------------------
    // Null clears; longer texts are cut to kMaxTextLength bytes.
    DWORD SetURL(LPCTSTR url);
    // name null clears the record (onClick: the click sound, else the enter
    // sound). Without module name is a file name, copied and cut to
    // kMaxTextLength bytes; with one it is a resource id kept as it is.
    DWORD SetSound(LPCTSTR name, HINSTANCE module = nullptr, BOOL onClick = FALSE, BOOL async = TRUE);
    DWORD SetPopupMenu(int menuId, HWND owner, BOOL xpLook = TRUE, int toolbarId = 0, int iconWidth = 16,
        int iconHeight = 15, COLORREF toolbarBackground = RGB(192, 192, 192), BOOL repaint = TRUE);
    DWORD SetMenuCallback(HWND window, UINT message, LPARAM lParam = 0);
    CDrawnMenu& GetPopupMenu() { return m_menu; }

protected:
    // The layers of the drawing; a subclass may replace any of them.
    virtual DWORD DrawButtonBackground(CDC* dc, CRect* rect);
    virtual DWORD DrawButtonBorder(CDC* dc, CRect* rect);
    virtual void DrawButtonIcon(
        CDC* dc, BOOL hasCaption, RECT* item, CRect* caption, BOOL pressed, BOOL disabled);
    virtual void DrawButtonBitmap(
        CDC* dc, BOOL hasCaption, RECT* item, CRect* caption, BOOL pressed, BOOL disabled);
    virtual void DrawButtonText(
        CDC* dc, LPCTSTR text, RECT* item, CRect* caption, BOOL pressed, BOOL disabled);

    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeaveMessage(WPARAM wParam, LPARAM lParam);
    void OnKillFocus(CWnd* newFocus);
    LRESULT OnCancelModeMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivateMessage(WPARAM wParam, LPARAM lParam);
    void OnEnable(BOOL enable);
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    UINT OnGetDlgCode();
    LRESULT OnSysColorChangeMessage(WPARAM wParam, LPARAM lParam);
    HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCheckMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCheckMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMeasureItemMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuCharMessage(WPARAM wParam, LPARAM lParam);
    BOOL OnClicked();

private:
    struct IconRecord {
        HICON icon = nullptr;
        int width = 0;
        int height = 0;
    };
    struct BitmapRecord {
        HBITMAP bitmap = nullptr;
        int width = 0;
        int height = 0;
        HBITMAP mask = nullptr;
        COLORREF transparent = 0;
    };
    struct SoundRecord {
        char name[kMaxTextLength + 1] = {};
        LPCTSTR resource = nullptr;
        HINSTANCE module = nullptr;
        DWORD flags = 0;
    };

    void FreeResources(BOOL checkForNull = TRUE);
    // Takes bitmap into record and makes its mask; a result code.
    static DWORD SetBitmapRecord(BitmapRecord& record, HBITMAP bitmap, COLORREF transparent);
    void CancelHover();
    void InitToolTip();
    void DropBackground();
    void PaintBackground(CDC* dc);
    void PlaySoundRecord(const SoundRecord& sound);
    void Repaint(BOOL repaint);
    // The image shown (0 in, 1 out): in check-box mode the in image while
    // pressed or checked, otherwise while hovered or pressed.
    int ImageIndex(BOOL pressed, bool hasOut) const;
    void PrepareImageRect(BOOL hasCaption, const RECT* item, CRect* caption, BOOL pressed, int width,
        int height, CRect* image) const;
    static HICON CreateDerivedIcon(HICON source, bool gray);
    static HBITMAP CreateDerivedBitmap(HBITMAP source, COLORREF transparent, bool gray);
    static HBITMAP CreateBitmapMask(HBITMAP source, int width, int height, COLORREF transparent);

    BOOL m_disabledBitmapLook = TRUE;
    CPoint m_imageMargin { 3, 3 };
    CPoint m_pressedOffset { 1, 1 };
    BOOL m_flat = TRUE;
    BOOL m_mouseOver = FALSE;
    BOOL m_transparent = FALSE;
    BOOL m_pressed = FALSE;
    BOOL m_focused = FALSE;
    BOOL m_disabled = FALSE;
    BOOL m_isDefault = FALSE;
    BOOL m_checkBoxMode = FALSE;
    BYTE m_align = kAlignHorizontal;
    BOOL m_drawBorder = TRUE;
    BOOL m_drawFlatFocus = FALSE;
    COLORREF m_colors[kMaxColors] = {};
    HWND m_menuOwner = nullptr;
    BOOL m_menuShowing = FALSE;
    CDrawnMenu m_menu;
    HCURSOR m_cursor = nullptr;
    CToolTipCtrl m_toolTip;
    CDC m_backgroundDC;
    CBitmap m_background;
    CBitmap* m_oldBackground = nullptr;
    BOOL m_trackAlways = TRUE;
    int m_checked = FALSE;
    DWORD m_toolTipStyle = 0;
    char m_url[kMaxTextLength + 1] = {};
    IconRecord m_icons[2];
    BitmapRecord m_bitmaps[2];
    struct {
        HWND window = nullptr;
        UINT message = 0;
        LPARAM lParam = 0;
    } m_menuCallback;
    SoundRecord m_sounds[2];
};

// Sets up a dialog's icon button: its icon with a darker copy while hovered,
// its tip, and transparent mode (taken at the next paint).
void DressIconButton(CIconButton& button, int icon, const char* tip);
