#pragma once
// CButton: push buttons, check boxes, radio buttons and owner-drawn buttons.
// An object attached to a "BUTTON" window (by Create, by subclassing, or made
// by the layer for a dialog template's button) is the window's button
// procedure: it tracks the mouse and the space key, keeps the check and
// pushed state, sends BN_CLICKED (reflected first: see reflect.h), and for
// BS_OWNERDRAW sends WM_DRAWITEM to its parent on every paint, whose default
// handling reflects it to DrawItem. UI thread.

#include "platform/wnd/core/owner_draw.h"
#include "platform/wnd/core/reflect.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/core/wnd.h"

// Button styles (the type is style & BS_TYPEMASK).
inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
inline constexpr DWORD BS_CHECKBOX = 0x0002;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
inline constexpr DWORD BS_RADIOBUTTON = 0x0004;
inline constexpr DWORD BS_3STATE = 0x0005;
inline constexpr DWORD BS_AUTO3STATE = 0x0006;
inline constexpr DWORD BS_GROUPBOX = 0x0007;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
inline constexpr DWORD BS_OWNERDRAW = 0x000B;
inline constexpr DWORD BS_TYPEMASK = 0x000F;
inline constexpr DWORD BS_LEFTTEXT = 0x0020;
inline constexpr DWORD BS_FLAT = 0x8000;

// Button messages.
inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_GETSTATE = 0x00F2;
inline constexpr UINT BM_SETSTATE = 0x00F3;
inline constexpr UINT BM_SETSTYLE = 0x00F4;
inline constexpr UINT BM_CLICK = 0x00F5;

// Check and state values.
inline constexpr UINT BST_UNCHECKED = 0x0000;
inline constexpr UINT BST_CHECKED = 0x0001;
inline constexpr UINT BST_INDETERMINATE = 0x0002;
inline constexpr UINT BST_PUSHED = 0x0004;
inline constexpr UINT BST_FOCUS = 0x0008;

// WM_GETDLGCODE results of buttons.
inline constexpr UINT DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr UINT DLGC_UNDEFPUSHBUTTON = 0x0020;
inline constexpr UINT DLGC_RADIOBUTTON = 0x0040;
inline constexpr UINT DLGC_BUTTON = 0x2000;

inline constexpr UINT WM_CANCELMODE = 0x001F;
inline constexpr UINT WA_INACTIVE = 0;
inline constexpr UINT WA_ACTIVE = 1;

class CButton : public CWnd {
public:
    CButton();
    ~CButton() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    // Creates a "BUTTON" child window with the BS_ style, then calls
    // PreSubclassWindow as attaching by subclassing does. UI thread.
    BOOL Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Check state (BST_ values) through BM_GETCHECK / BM_SETCHECK.
    int GetCheck() const;
    void SetCheck(int check);
    // BST_CHECKED | BST_PUSHED | BST_FOCUS bits (BM_GETSTATE).
    UINT GetState() const;
    // Draws the button pushed (TRUE) or released (BM_SETSTATE).
    void SetState(BOOL pushed);
    UINT GetButtonStyle() const;
    // Sets the style's low word through BM_SETSTYLE.
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);

    // Paints one owner-draw request; called for BS_OWNERDRAW buttons through the
    // reflected WM_DRAWITEM. The base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);

    // The button procedure's own handling of button messages; the rest goes on
    // to the window's default.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Typed handlers for derived classes to call as their base.
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnKillFocus(CWnd* newFocus);
    void OnButtonPaint();

private:
    LRESULT OnReflectedDrawItem(WPARAM wParam, LPARAM lParam);
    void OnSetFocus(CWnd* oldFocus);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnCaptureChanged(CWnd* window);
    void OnEnableMessage(BOOL enable);

    void SetPushed(bool pushed);
    void Click();
    DWORD Type() const { return GetStyle() & BS_TYPEMASK; }
    void PaintOwnerDraw();
    void PaintStandard();

    UINT m_check = BST_UNCHECKED;
    bool m_pushed = false;
    bool m_tracking = false; // left button went down on the button
};

// Registers CButton as the object of dialog template buttons; done once by the
// first CButton and when this file is linked.
void AfxRegisterButtonClass();
