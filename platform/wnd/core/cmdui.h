#pragma once
// CCmdUI: the state of one user-interface item (menu item, toolbar button,
// status-bar pane) that an update rule sets. The framework fills one per item
// and offers it along the command route with CN_UPDATE_COMMAND_UI; a rule
// entry in a message map is made with OnUpdateCommand:
//
//   OnUpdateCommand<&CMyView::OnUpdateFileOpen>(ID_FILE_OPEN)

#include "platform/base/cstring.h"
#include "platform/wnd/core/cmdtarget.h"
#include "platform/wnd/core/wnd.h"

class CMenu;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;
    CCmdUI(const CCmdUI&) = delete;
    CCmdUI& operator=(const CCmdUI&) = delete;

    // Each records the state and applies it to the item (the menu item by
    // m_nIndex of m_pMenu, or m_pOther's item).
    virtual void Enable(BOOL on = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int check = 1);
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(LPCTSTR text);

    // Offers the item to target's update rules; when none ran and
    // disableIfNoHandler is set, enables the item only when target routes a
    // command handler for m_nID. TRUE when a rule ran.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    UINT m_nIndexMax = 0;
    CMenu* m_pMenu = nullptr; // the popup being opened, for menu items
    CWnd* m_pOther = nullptr; // the bar, for toolbar buttons and panes
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    // What the rules set (also for items without a menu, as in tests).
    BOOL m_bEnabled = TRUE;
    int m_nCheck = 0;
    BOOL m_bTextSet = FALSE;
    CString m_strText;
};

// void Handler(CCmdUI*) as the update rule of command id.
template <auto Handler> MessageMapEntry OnUpdateCommand(UINT id)
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, void (C::*)(CCmdUI*)>();
    return MakeMessageEntry(WM_COMMAND, static_cast<UINT>(CN_UPDATE_COMMAND_UI), id, id,
        [](CCmdTarget* t, WPARAM, LPARAM lp) -> LRESULT {
            (static_cast<C*>(t)->*Handler)(reinterpret_cast<CCmdUI*>(lp));
            return 0;
        });
}

// void Handler(CCmdUI*) as the update rule of commands first..last.
template <auto Handler> MessageMapEntry OnUpdateCommandRange(UINT first, UINT last)
{
    using C = msgmap_detail::HandlerClass<Handler>;
    msgmap_detail::CheckHandler<Handler, void (C::*)(CCmdUI*)>();
    return MakeMessageEntry(WM_COMMAND, static_cast<UINT>(CN_UPDATE_COMMAND_UI), first, last,
        [](CCmdTarget* t, WPARAM, LPARAM lp) -> LRESULT {
            (static_cast<C*>(t)->*Handler)(reinterpret_cast<CCmdUI*>(lp));
            return 0;
        });
}
