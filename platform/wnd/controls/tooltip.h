#pragma once
// CToolTipCtrl: tips for tools (windows, or rectangles of a window). The
// owner relays its mouse messages (RelayEvent); a mouse move over a tool of
// an active tooltip shows that tool's text at the pointer, any other relayed
// message or TTM_POP hides it. Delays and placement are the platform's. UI
// thread.

#include <vector>

#include "platform/base/cstring.h"
#include "platform/wnd/core/wnd.h"

inline constexpr DWORD TTS_ALWAYSTIP = 0x01;
inline constexpr DWORD TTS_NOPREFIX = 0x02;
inline constexpr DWORD TTS_BALLOON = 0x40;

inline constexpr UINT TTM_ACTIVATE = WM_USER + 1;
inline constexpr UINT TTM_RELAYEVENT = WM_USER + 7;
inline constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
inline constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;
inline constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
inline constexpr UINT TTM_POP = WM_USER + 28;

class CToolTipCtrl : public CWnd {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() override;

    // Creates the (hidden) tooltip window owned by parent with the TTS_ style.
    BOOL Create(CWnd* parent, DWORD style = 0);

    // Adds a tool: window's client area, or rect of it, under id. FALSE
    // without a tooltip window or window.
    BOOL AddTool(CWnd* window, LPCTSTR text, LPCRECT rect = nullptr, UINT_PTR id = 0);
    void DelTool(CWnd* window, UINT_PTR id = 0);
    // Changes the text of an existing tool.
    void UpdateTipText(LPCTSTR text, CWnd* window, UINT_PTR id = 0);
    // The tool's text; empty when there is no such tool.
    void GetText(CString& text, CWnd* window, UINT_PTR id = 0) const;
    int GetToolCount() const;

    void Activate(BOOL activate);
    BOOL IsActive() const { return m_active; }
    // Returns the previous width (-1: none set).
    int SetMaxTipWidth(int width);
    int GetMaxTipWidth() const { return m_maxWidth; }

    // Shows or hides the tip for a message of a tool window.
    void RelayEvent(MSG* msg);
    // Hides the tip.
    void Pop();
    // The text on show; empty while hidden.
    CString GetShownText() const { return m_shown; }

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Tool {
        HWND window = nullptr;
        UINT_PTR id = 0;
        CRect rect;
        bool wholeClient = true;
        CString text;
    };
    Tool* FindTool(HWND window, UINT_PTR id);
    const Tool* FindTool(HWND window, UINT_PTR id) const;

    std::vector<Tool> m_tools;
    BOOL m_active = TRUE;
    int m_maxWidth = -1;
    CString m_shown;
};
