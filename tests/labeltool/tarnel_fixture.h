#pragma once
// The whole program started for a test, with message boxes, modal dialogs
// and file dialogs answered by script, and helpers that type, click and send
// commands as the user does.

#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "labeltool/file_bytes.h"
#include "labeltool/label_file.h"
#include "labeltool/main_frame.h"
#include "labeltool/tarnel_app.h"
#include "labeltool/tarnel_messages.h"
#include "labeltool/tarnel_view.h"
#include "platform/print/print_script.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/menu.h"
#include "platform/wnd/dialogs/filedialog.h"
#include "platform/wnd/dialogs/modal_script.h"
#include "resources/tarnel_ids.h"
#include "tests/support/command.h"
#include "tests/support/input_feeder.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"

namespace {

class TarnelTest : public testing::Test {
protected:
    TarnelTest()
    {
        MessageBoxScript::Enable();
        MessageBoxScript::Reset();
        ModalDialogScript::Enable();
        ModalDialogScript::Reset();
        FileDialogScript::Enable();
        FileDialogScript::Reset();
        LabelParameterTable() = DefaultLabelValues();
        (void)LabelChangeNotices().Take();
        m_feeder.CreateEx(0, nullptr, "feeder", WS_POPUP, 0, 0, 1, 1, nullptr, 0);
        StartUp();
    }
    ~TarnelTest() override
    {
        ShutDown();
        m_feeder.DestroyWindow();
        MessageBoxScript::Reset();
        ModalDialogScript::Reset();
        FileDialogScript::Reset();
    }
    void StartUp()
    {
        m_app = std::make_unique<CTarnelApp>();
        ASSERT_TRUE(m_app->InitInstance());
        Frame()->MoveWindow(0, 0, 1200, 900);
        PumpUntil([this] { return Bar().GetDlgItem(IDC_NAME_X)->GetWindowTextLength() > 0; });
    }
    void ShutDown()
    {
        if (CWnd* frame = m_app ? m_app->m_pMainWnd : nullptr) {
            frame->DestroyWindow();
            AfxRunMessageLoop();
        }
        m_app.reset();
    }
    CMainFrame* Frame() const { return dynamic_cast<CMainFrame*>(m_app->m_pMainWnd); }
    CLabelDataBar& Bar() const { return Frame()->GetLabelDataBar(); }
    CTarnelView* View() const { return dynamic_cast<CTarnelView*>(Frame()->GetActiveView()); }
    CLabelTextItem* Item(int item) const { return View()->GetDocument()->FindItem(item); }
    CString Text(int id) const
    {
        CString text;
        Bar().GetDlgItemText(id, text);
        return text;
    }
    // Replaces an edit's text by typing, as the user does (or adds to it).
    void Type(int id, const char* text, bool append = false)
    {
        const HWND edit = Bar().GetDlgItem(id)->GetSafeHwnd();
        const int length = append ? 0 : Bar().GetDlgItem(id)->GetWindowTextLength();
        AfxSimulateKey(edit, VK_END);
        for (int i = 0; i < length; ++i)
            AfxSimulateKey(edit, VK_BACK);
        for (const char* c = text; *c; ++c)
            AfxSimulateKey(edit, static_cast<UINT>(*c), std::string(1, *c).c_str());
    }
    // Clicks a control of the viewer in its middle.
    void Click(int id)
    {
        CRect rect;
        Bar().GetDlgItem(id)->GetClientRect(&rect);
        AfxSimulateClick(Bar().GetDlgItem(id)->GetSafeHwnd(), rect.CenterPoint());
    }
    void Paint()
    {
        View()->Invalidate();
        View()->UpdateWindow();
    }
    // An item's top-left corner in the view's client area.
    CPoint ClientOf(int item, CPoint inside = CPoint(5, 5)) const
    {
        const CPoint scroll = View()->GetScrollPosition();
        return CPoint(
            Item(item)->m_rect.left + inside.x - scroll.x, Item(item)->m_rect.top + inside.y - scroll.y);
    }
    std::vector<CString> Boxes() const
    {
        std::vector<CString> texts;
        for (const MessageBoxRecord& record : MessageBoxScript::Records())
            texts.push_back(record.text);
        return texts;
    }
    UINT MenuState(int popup, UINT id)
    {
        HMENU menu = ::GetSubMenu(*Frame()->GetMenu(), popup);
        Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        return ::GetMenuState(menu, id, MF_BYCOMMAND);
    }
    // Trans Mode: TCP/IP clicked in its dialog, then OK.
    void ChooseTcp()
    {
        ModalDialogScript::Push([](CDialog& dialog) {
            CWnd* tcp = dialog.GetDlgItem(IDC_TRANS_MODE_TCP);
            CRect rect;
            tcp->GetClientRect(&rect);
            AfxSimulateClick(tcp->GetSafeHwnd(), rect.CenterPoint());
            AfxClickDlgButton(dialog, IDOK);
        });
        Command(*Frame(), ID_TRANS_MODE);
    }

    TempDataRoot m_root;
    std::unique_ptr<CTarnelApp> m_app;
    InputFeeder m_feeder;
};

} // namespace
