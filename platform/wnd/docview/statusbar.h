#pragma once
// CStatusBar: the panes along the bottom of a frame. SetIndicators names the
// panes: ID_SEPARATOR (0) for the message pane, which stretches and shows the
// idle text (string 57345) until other text is set; other ids are indicator
// panes that show their string-table text while their key is toggled on
// (ID_INDICATOR_CAPS, _NUM, _SCRL) and nothing otherwise. UI thread.

#include <vector>

#include "platform/base/cstring.h"
#include "platform/gdi/font.h"
#include "platform/wnd/docview/controlbar.h"

inline constexpr UINT ID_SEPARATOR = 0;
inline constexpr UINT ID_INDICATOR_CAPS = 59137;
inline constexpr UINT ID_INDICATOR_NUM = 59138;
inline constexpr UINT ID_INDICATOR_SCRL = 59139;

class CStatusBar : public CControlBar {
public:
    CStatusBar();
    ~CStatusBar() override;

    const MessageMap* GetMessageMap() const override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = 0xE801);
    // FALSE (panes unchanged) for a null list or a non-positive count.
    BOOL SetIndicators(const UINT* ids, int count);

    int GetCount() const { return static_cast<int>(m_panes.size()); }
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    CString GetPaneText(int index) const;
    BOOL SetPaneText(int index, LPCTSTR text, BOOL update = TRUE);
    // Pane rectangle in client coordinates.
    void GetItemRect(int index, LPRECT rect) const;

    CSize CalcFixedLayout(int cx) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

protected:
    void OnPaint();

private:
    struct Pane {
        UINT id = 0;
        int width = 0; // 0 for the stretching message pane
        CString text; // what the pane shows
        CString label; // an indicator's string-table text
    };
    CFont& Font();

    std::vector<Pane> m_panes;
    CFont m_font;
};
