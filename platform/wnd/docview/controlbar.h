#pragma once
// CControlBar: a bar that its frame places along an edge (toolbar, status bar).
// The frame's RecalcLayout asks each visible bar for its height and gives the
// rest of the client area to the pane; the frame's idle update asks each
// visible bar to update its items through the command route. UI thread.

#include "platform/base/geometry.h"
#include "platform/wnd/core/wnd.h"

class CFrameWnd;

// Bar styles (kept by the bar; the window itself gets WS_CHILD | WS_VISIBLE).
inline constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
inline constexpr DWORD CBRS_TOOLTIPS = 0x0010;
inline constexpr DWORD CBRS_FLYBY = 0x0020;
inline constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
inline constexpr DWORD CBRS_BORDER_TOP = 0x0200;
inline constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
inline constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
inline constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
inline constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
inline constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
inline constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
inline constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
inline constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
inline constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
inline constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
inline constexpr DWORD CBRS_GRIPPER = 0x00400000;

class CControlBar : public CWnd {
public:
    CControlBar();
    // Leaves the frame's list of bars.
    ~CControlBar() override;

    const MessageMap* GetMessageMap() const override;

    // Height (cy) the bar needs across a width of cx pixels.
    virtual CSize CalcFixedLayout(int cx) = 0;
    // Updates the bar's items through target's update rules.
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) = 0;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style) { m_dwStyle = style; }
    // Recorded; bars are docked where their alignment style puts them.
    void EnableDocking(DWORD style) { m_dwDockStyle = style; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }
    BOOL IsTopBar() const { return (m_dwStyle & CBRS_ALIGN_ANY) != CBRS_ALIGN_BOTTOM; }

    // The frame the bar belongs to (its parent), or nullptr.
    CFrameWnd* GetParentFrame() const;

protected:
    // Creates the bar's window as child id of parent and joins the frame.
    BOOL CreateBar(const char* className, CWnd* parent, DWORD style, UINT id);
    void OnDestroy();

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pFrame = nullptr;
};
