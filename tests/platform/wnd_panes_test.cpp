// Static splitters and the tree control.

#include <gtest/gtest.h>

#include <vector>

#include "platform/base/resource_script.h"
#include "platform/gdi/image_list.h"
#include "platform/wnd/controls/treectrl.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/docview/formview.h"
#include "platform/wnd/docview/splitter.h"
#include "platform/wnd/docview/view.h"
#include "tests/support/ui_pump.h"

namespace {

class PaneView : public CView {
public:
    static const CRuntimeClass* GetThisClass()
    {
        static const CRuntimeClass kClass { "PaneView", &AfxCreateObject<PaneView>, CView::GetThisClass() };
        return &kClass;
    }
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }
};

CRect PaneRect(CSplitterWnd& splitter, int row, int col)
{
    CRect rect;
    splitter.GetPane(row, col)->GetWindowRect(&rect);
    splitter.ScreenToClient(&rect);
    return rect;
}

// Records the tree's notifications; refuses a selection change when asked.
class TreeHost : public CWnd {
public:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnNotifyMsg<&TreeHost::OnChanging>(TVN_SELCHANGING, 7),
                OnNotifyMsg<&TreeHost::OnChanged>(TVN_SELCHANGED, 7),
            });
        return &kMap;
    }
    void OnChanging(NMHDR* header, LRESULT* result)
    {
        codes.push_back(header->code);
        *result = refuse ? 1 : 0;
    }
    void OnChanged(NMHDR* header, LRESULT* result)
    {
        const auto* notify = reinterpret_cast<NMTREEVIEW*>(header);
        codes.push_back(header->code);
        actions.push_back(notify->action);
        newItems.push_back(notify->itemNew.hItem);
        *result = 0;
    }
    bool refuse = false;
    std::vector<UINT> codes;
    std::vector<UINT> actions;
    std::vector<HTREEITEM> newItems;
};

class TreeTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, 0));
        ASSERT_TRUE(m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES, CRect(0, 0, 300, 300), &m_host, 7));
        m_group = m_tree.InsertItem("Group", 0, 0);
        m_first = m_tree.InsertItem("First", 1, 1, m_group);
        m_second = m_tree.InsertItem("Second", 1, 1, m_group);
        m_other = m_tree.InsertItem("Other", 0, 0);
    }
    void TearDown() override { m_host.DestroyWindow(); }

    TreeHost m_host;
    CTreeCtrl m_tree;
    HTREEITEM m_group = nullptr;
    HTREEITEM m_first = nullptr;
    HTREEITEM m_second = nullptr;
    HTREEITEM m_other = nullptr;
};

} // namespace

TEST(WndSplitter, PanesGetIdealSizesAndTheLastTakesTheRest)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 600, 400, nullptr, 0));
    CSplitterWnd splitter;
    ASSERT_TRUE(splitter.CreateStatic(&parent, 2, 2));
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            ASSERT_TRUE(splitter.CreateView(r, c, PaneView::GetThisClass(), CSize(150, 100), nullptr));
    EXPECT_FALSE(splitter.CreateView(0, 0, PaneView::GetThisClass(), CSize(1, 1), nullptr));
    EXPECT_FALSE(splitter.CreateView(2, 0, PaneView::GetThisClass(), CSize(1, 1), nullptr));
    splitter.MoveWindow(0, 0, 600, 400);
    EXPECT_EQ(PaneRect(splitter, 0, 0), CRect(2, 2, 152, 102));
    EXPECT_EQ(PaneRect(splitter, 0, 1), CRect(159, 2, 598, 102));
    EXPECT_EQ(PaneRect(splitter, 1, 1), CRect(159, 109, 598, 398));
    EXPECT_EQ(splitter.GetPane(1, 0)->GetDlgCtrlID(), 0xE910);
    int row = -1;
    int col = -1;
    EXPECT_TRUE(splitter.IsChildPane(splitter.GetPane(1, 1), &row, &col));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 1);
    // Too little room: the first row keeps what there is, the last gets nothing.
    splitter.MoveWindow(0, 0, 600, 60);
    EXPECT_EQ(PaneRect(splitter, 0, 0).Height(), 56);
    EXPECT_EQ(PaneRect(splitter, 1, 0).Height(), 0);
    // Below its minimum a row is not shown.
    splitter.SetRowInfo(0, 10, 20);
    splitter.MoveWindow(0, 0, 600, 400);
    EXPECT_EQ(PaneRect(splitter, 0, 0).Height(), 0);
    parent.DestroyWindow();
}

TEST(WndSplitter, DraggingABarSetsTheIdealSize)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, 0));
    for (const bool rows : { false, true }) {
        CSplitterWnd splitter;
        ASSERT_TRUE(splitter.CreateStatic(&parent, rows ? 2 : 1, rows ? 1 : 2));
        ASSERT_TRUE(splitter.CreateView(0, 0, PaneView::GetThisClass(), CSize(200, 200), nullptr));
        ASSERT_TRUE(splitter.CreateView(rows, !rows, PaneView::GetThisClass(), CSize(0, 0), nullptr));
        splitter.MoveWindow(0, 0, 600, 400);
        // From just inside the bar after the first pane, 98 pixels on.
        const auto at = [rows](int along) { return rows ? POINT { 50, along } : POINT { along, 50 }; };
        ASSERT_TRUE(AfxSimulateMouse(splitter.GetSafeHwnd(), WM_LBUTTONDOWN, at(204), MK_LBUTTON));
        ASSERT_TRUE(AfxSimulateMouse(splitter.GetSafeHwnd(), WM_LBUTTONUP, at(302)));
        int current = 0;
        int minimum = 0;
        if (rows)
            splitter.GetRowInfo(0, current, minimum);
        else
            splitter.GetColumnInfo(0, current, minimum);
        EXPECT_EQ(current, 300) << rows;
        splitter.DestroyWindow();
    }
    parent.DestroyWindow();
}

TEST_F(TreeTest, ItemsKeepTheirOrderAndRelations)
{
    EXPECT_EQ(m_tree.GetCount(), 4u);
    EXPECT_EQ(m_tree.GetRootItem(), m_group);
    EXPECT_EQ(m_tree.GetNextSiblingItem(m_group), m_other);
    EXPECT_EQ(m_tree.GetChildItem(m_group), m_first);
    EXPECT_EQ(m_tree.GetNextSiblingItem(m_first), m_second);
    EXPECT_EQ(m_tree.GetParentItem(m_second), m_group);
    EXPECT_EQ(m_tree.GetItemText(m_second), "Second");
    int image = -1;
    int selected = -1;
    EXPECT_TRUE(m_tree.GetItemImage(m_first, image, selected));
    EXPECT_EQ(image, 1);
    HTREEITEM front = m_tree.InsertItem("Front", m_group, TVI_FIRST);
    EXPECT_EQ(m_tree.GetChildItem(m_group), front);
    EXPECT_EQ(m_tree.InsertItem("x", reinterpret_cast<HTREEITEM>(0x1234)), nullptr);
}

TEST_F(TreeTest, SelectingNotifiesTheParentAndMayBeRefused)
{
    EXPECT_TRUE(m_tree.SelectItem(m_first));
    EXPECT_EQ(m_host.codes, (std::vector<UINT> { TVN_SELCHANGING, TVN_SELCHANGED }));
    EXPECT_EQ(m_host.newItems, std::vector<HTREEITEM> { m_first });
    EXPECT_TRUE(m_tree.IsExpanded(m_group)); // a selected item is shown
    m_host.refuse = true;
    EXPECT_FALSE(m_tree.SelectItem(m_other));
    EXPECT_EQ(m_tree.GetSelectedItem(), m_first);
    EXPECT_EQ(m_host.codes.size(), 3u);
}

TEST_F(TreeTest, DeletingTheSelectedItemSelectsNothing)
{
    ASSERT_TRUE(m_tree.SelectItem(m_second));
    EXPECT_TRUE(m_tree.DeleteItem(m_group));
    EXPECT_EQ(m_tree.GetSelectedItem(), nullptr);
    EXPECT_EQ(m_tree.GetCount(), 1u);
    EXPECT_EQ(m_tree.GetItemText(m_second), ""); // a stale handle names nothing
    EXPECT_TRUE(m_tree.DeleteAllItems());
    EXPECT_EQ(m_tree.GetCount(), 0u);
}

TEST_F(TreeTest, MouseAndKeysSelectAndExpand)
{
    CRect row;
    ASSERT_TRUE(m_tree.GetItemRect(m_group, &row, FALSE));
    ASSERT_TRUE(AfxSimulateMouse(m_tree.GetSafeHwnd(), WM_LBUTTONDBLCLK, row.CenterPoint()));
    EXPECT_TRUE(m_tree.IsExpanded(m_group));
    ASSERT_TRUE(m_tree.GetItemRect(m_second, &row, FALSE));
    ASSERT_TRUE(AfxSimulateClick(m_tree.GetSafeHwnd(), row.CenterPoint()));
    EXPECT_EQ(m_tree.GetSelectedItem(), m_second);
    EXPECT_EQ(m_host.actions.back(), TVC_BYMOUSE);
    ASSERT_TRUE(AfxSimulateKey(m_tree.GetSafeHwnd(), VK_DOWN));
    EXPECT_EQ(m_tree.GetSelectedItem(), m_other);
    EXPECT_EQ(m_host.actions.back(), TVC_BYKEYBOARD);
    ASSERT_TRUE(AfxSimulateKey(m_tree.GetSafeHwnd(), VK_HOME));
    ASSERT_TRUE(AfxSimulateKey(m_tree.GetSafeHwnd(), VK_LEFT));
    EXPECT_FALSE(m_tree.IsExpanded(m_group));
}

TEST_F(TreeTest, RowsAreAsHighAsTheImages)
{
    CImageList images;
    ASSERT_TRUE(images.Create(32, 32, ILC_COLOR24 | ILC_MASK, 2, 1));
    m_tree.SetImageList(&images, TVSIL_NORMAL);
    EXPECT_EQ(m_tree.GetItemHeight(), 34);
    EXPECT_EQ(m_tree.HitTest(CPoint(5, 40)), m_other); // the group is collapsed
}

namespace {

class FormPane : public CFormView {
public:
    FormPane()
        : CFormView(9601)
    { }
    static const CRuntimeClass* GetThisClass()
    {
        static const CRuntimeClass kClass { "FormPane", &AfxCreateObject<FormPane>,
            CFormView::GetThisClass() };
        return &kClass;
    }
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, 1000, text); }
    CString text = "filled";
};

} // namespace

TEST(WndFormView, TemplateControlsAreMadeInTheViewAndExchanged)
{
    std::vector<ResourceScriptError> errors;
    ASSERT_TRUE(AfxAddResourceScript(R"(
DIALOG 9601 0 0 200 100
  STYLE WS_CHILD
  FONT 8 "MS Sans Serif"
  CONTROL 1000 EDIT "" 8 8 100 12 WS_BORDER
END
)",
        "wnd_formview_test", &errors));
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 600, 400, nullptr, 0));
    CSplitterWnd splitter;
    ASSERT_TRUE(splitter.CreateStatic(&parent, 1, 1));
    ASSERT_TRUE(splitter.CreateView(0, 0, FormPane::GetThisClass(), CSize(0, 0), nullptr));
    auto* form = DynamicDownCast<FormPane>(splitter.GetPane(0, 0));
    ASSERT_NE(form, nullptr);
    CWnd* edit = form->GetDlgItem(1000);
    ASSERT_NE(edit, nullptr);
    CRect rect;
    edit->GetWindowRect(&rect);
    form->ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(12, 13, 162, 33)); // 20 x 13 / 8 = 32.5 rounds up
    EXPECT_EQ(form->GetTotalSize(), CSize(300, 163));
    form->OnInitialUpdate();
    CString text;
    edit->GetWindowText(text);
    EXPECT_EQ(text, "filled");
    edit->SetWindowText("typed");
    EXPECT_TRUE(form->UpdateData(TRUE));
    EXPECT_EQ(form->text, "typed");
    parent.DestroyWindow();
}
