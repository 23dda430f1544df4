#pragma once
// What the framework hands to the windows it creates for a document: the view
// class to make, the document, the template and the frame. Passed as the
// creation parameter (CREATESTRUCT::lpCreateParams) of frames and views.

#include "platform/base/types.h"

struct CRuntimeClass;
class CDocument;
class CDocTemplate;
class CFrameWnd;
class CView;

// Control ids the framework gives its own windows.
inline constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
inline constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
inline constexpr UINT AFX_IDW_MENU_BAR = 0xE80F; // the frame's drawn menu bar
inline constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
inline constexpr UINT AFX_IDW_PANE_LAST = 0xE9FF;

// Style of the views the framework creates.
inline constexpr DWORD AFX_WS_DEFAULT_VIEW = 0x50800000; // child, visible, border

struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};
