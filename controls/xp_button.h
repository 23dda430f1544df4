#pragma once
// CXPButton: an owner-drawn push button with rounded corners, a vertical light
// gradient and an inner frame that shows focus (blue) or mouse hover (orange).
// Its look comes only from the item state and the hover flag; the caption is
// the window text. UI thread.

#include "platform/gdi/brush.h"
#include "platform/gdi/pen.h"
#include "platform/wnd/controls/button.h"

class CXPButton : public CButton {
public:
    // Number of gradient steps, from near-white at the top to the darkest.
    static constexpr int kGradientSteps = 64;

    CXPButton();
    ~CXPButton() override;

    const MessageMap* GetMessageMap() const override;
    // Run-time class "CXPButton" (base CButton), dynamically creatable.
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    // Makes the button owner-drawn.
    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

    // The gradient brush colour of step (0..63) for the hover and emphasis state.
    static COLORREF GradientColor(int step, BOOL hovered, BOOL emphasis);
    // The step used for row y of a rectangle of height h: (y * 63) / h, kept
    // inside the table for the rows below the last step.
    static int GradientStep(int y, int height);

    BOOL IsHovered() const { return m_hover; }

protected:
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseHoverMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeaveMessage(WPARAM wParam, LPARAM lParam);

private:
    void DrawGradient(CDC* dc, const CRect& rect);
    void DrawInnerFrame(CDC* dc, const CRect& rect);

    CPen m_framePen;
    CPen m_hoverLeft;
    CPen m_hoverTop;
    CPen m_hoverRight;
    CPen m_hoverBottom;
    CPen m_focusLeft;
    CPen m_focusTop;
    CPen m_focusRight;
    CPen m_focusBottom;
    CPen* m_oldPen = nullptr;
    CBrush m_hoverBrush;
    CBrush m_normalBrush;
    CBrush* m_oldBrush = nullptr;
    BOOL m_hover = FALSE;
    BOOL m_tracking = FALSE;
    BOOL m_focus = FALSE;
    BOOL m_emphasis = FALSE;
};
