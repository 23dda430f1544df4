#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/controls/static.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/dialogs/dialog.h"
#include "tests/support/pixels.h"
#include "tests/support/ui_pump.h"

namespace {

struct Notice {
    UINT id;
    UINT code;
    HWND from;
};

// A shown popup that records commands and, when asked, owner-draw requests.
class CButtonParent : public CWnd {
public:
    std::vector<Notice> m_notices;
    std::vector<DRAWITEMSTRUCT> m_drawn;
    bool m_drawsItems = false;

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnMessage<&CButtonParent::OnDrawItemMessage>(WM_DRAWITEM),
            });
        return &kMap;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        m_notices.push_back({ LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam) });
        return TRUE;
    }
    LRESULT OnDrawItemMessage(WPARAM wParam, LPARAM lParam)
    {
        if (!m_drawsItems)
            return Default();
        m_drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    int Clicks(UINT id) const
    {
        int n = 0;
        for (const Notice& notice : m_notices)
            n += notice.id == id && notice.code == BN_CLICKED;
        return n;
    }
};

// Keeps or shares its clicks, and counts its reflected owner-draw requests.
class CReflectingButton : public CButton {
public:
    BOOL m_keep = FALSE;
    int m_reflected = 0;
    std::vector<UINT> m_states;

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CButton::GetMessageMap(),
            {
                OnControlReflectEx<&CReflectingButton::OnClicked>(BN_CLICKED),
            });
        return &kMap;
    }
    BOOL OnClicked()
    {
        ++m_reflected;
        return m_keep;
    }
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override
    {
        m_states.push_back(drawItem->itemState);
        CDC::FromHandle(drawItem->hDC)->FillSolidRect(&drawItem->rcItem, RGB(10, 20, 30));
    }
};

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(
            0, nullptr, "buttons", WS_POPUP | WS_VISIBLE, CRect(30, 30, 330, 230), nullptr, 0));
    }
    void TearDown() override { parent.DestroyWindow(); }
    static void Click(CWnd& button)
    {
        AfxSimulateMouse(button.GetSafeHwnd(), WM_LBUTTONDOWN, CPoint(3, 3), MK_LBUTTON);
        AfxSimulateMouse(button.GetSafeHwnd(), WM_LBUTTONUP, CPoint(3, 3), 0);
    }
    CButtonParent parent;
};

TEST_F(ButtonTest, PushButtonClickNotifiesTheParent)
{
    CButton button;
    ASSERT_TRUE(button.Create("Go", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 80, 35), &parent, 11));
    AfxSimulateMouse(button.GetSafeHwnd(), WM_LBUTTONDOWN, CPoint(3, 3), MK_LBUTTON);
    EXPECT_EQ(button.GetState() & BST_PUSHED, BST_PUSHED);
    EXPECT_EQ(parent.Clicks(11), 0);
    AfxSimulateMouse(button.GetSafeHwnd(), WM_LBUTTONUP, CPoint(3, 3), 0);
    EXPECT_EQ(button.GetState() & BST_PUSHED, 0u);
    ASSERT_EQ(parent.Clicks(11), 1);
    EXPECT_EQ(parent.m_notices.back().from, button.GetSafeHwnd());
    EXPECT_EQ(button.SendMessage(WM_GETDLGCODE), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    button.SetButtonStyle(BS_DEFPUSHBUTTON);
    EXPECT_EQ(button.SendMessage(WM_GETDLGCODE), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

TEST_F(ButtonTest, SpaceKeyClicks)
{
    CButton button;
    ASSERT_TRUE(button.Create("Go", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 80, 35), &parent, 12));
    button.SetFocus();
    AfxSimulateKey(button.GetSafeHwnd(), VK_SPACE, " ");
    EXPECT_EQ(parent.Clicks(12), 1);
}

TEST_F(ButtonTest, AutoCheckBoxToggles)
{
    CButton box;
    ASSERT_TRUE(box.Create("Check", WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 10, 120, 30), &parent, 13));
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
    Click(box);
    EXPECT_EQ(box.GetCheck(), BST_CHECKED);
    Click(box);
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
    box.SetCheck(BST_CHECKED);
    EXPECT_EQ(box.GetState() & BST_CHECKED, BST_CHECKED);
    EXPECT_EQ(parent.Clicks(13), 2);
}

TEST_F(ButtonTest, AutoRadioButtonsClearTheirGroup)
{
    CButton a, b, c, d;
    ASSERT_TRUE(
        a.Create("A", WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, CRect(10, 10, 80, 30), &parent, 21));
    ASSERT_TRUE(b.Create("B", WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(10, 30, 80, 50), &parent, 22));
    ASSERT_TRUE(c.Create("C", WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(10, 50, 80, 70), &parent, 23));
    ASSERT_TRUE(
        d.Create("D", WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, CRect(10, 70, 80, 90), &parent, 24));
    d.SetCheck(BST_CHECKED);
    Click(a);
    EXPECT_EQ(a.GetCheck(), BST_CHECKED);
    Click(c);
    EXPECT_EQ(a.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(b.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(c.GetCheck(), BST_CHECKED);
    EXPECT_EQ(d.GetCheck(), BST_CHECKED);
}

TEST_F(ButtonTest, ARadioButtonIsRoundAndShowsItsChoiceAsADot)
{
    CButton a, b;
    ASSERT_TRUE(
        a.Create("A", WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, CRect(10, 10, 80, 23), &parent, 21));
    ASSERT_TRUE(b.Create("B", WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(10, 30, 80, 43), &parent, 22));
    Click(b);
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    struct Row {
        CButton* button;
        COLORREF middle;
    };
    for (const Row& row : { Row { &a, window }, Row { &b, text } }) {
        Snapshot shot(*row.button);
        // The 13-pixel place: its corners keep the face, its edges' middles are
        // ring, its centre the dot or the white face, with white around the dot.
        for (const CPoint corner : { CPoint(0, 0), CPoint(12, 0), CPoint(0, 12), CPoint(12, 12) })
            EXPECT_EQ(shot.At(corner.x, corner.y), face) << corner.x << "," << corner.y;
        EXPECT_EQ(shot.At(0, 6), ::GetSysColor(COLOR_3DSHADOW));
        EXPECT_EQ(shot.At(12, 6), ::GetSysColor(COLOR_3DHILIGHT));
        EXPECT_EQ(shot.At(6, 6), row.middle);
        EXPECT_EQ(shot.At(3, 6), window);
    }
}

TEST_F(ButtonTest, ReflectedClickCanBeKeptOrShared)
{
    CReflectingButton button;
    ASSERT_TRUE(button.Create("R", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 80, 35), &parent, 31));
    Click(button);
    EXPECT_EQ(button.m_reflected, 1);
    EXPECT_EQ(parent.Clicks(31), 1);
    button.m_keep = TRUE;
    Click(button);
    EXPECT_EQ(button.m_reflected, 2);
    EXPECT_EQ(parent.Clicks(31), 1);
}

TEST_F(ButtonTest, OwnerDrawGoesToTheParentThenToTheButton)
{
    CReflectingButton button;
    ASSERT_TRUE(button.Create("", WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 60, 40), &parent, 41));
    parent.m_drawsItems = true;
    Canvas canvas(50, 30);
    ASSERT_TRUE(PrintWindow(button.GetSafeHwnd(), &canvas.Dc()));
    ASSERT_EQ(parent.m_drawn.size(), 1u);
    EXPECT_EQ(parent.m_drawn[0].CtlType, ODT_BUTTON);
    EXPECT_EQ(parent.m_drawn[0].CtlID, 41u);
    EXPECT_EQ(parent.m_drawn[0].hwndItem, button.GetSafeHwnd());
    EXPECT_EQ(CRect(parent.m_drawn[0].rcItem), CRect(0, 0, 50, 30));
    EXPECT_TRUE(button.m_states.empty());

    // Left to the default handling, the request reaches the button's DrawItem.
    parent.m_drawsItems = false;
    button.SetState(TRUE);
    button.SetFocus();
    ASSERT_TRUE(PrintWindow(button.GetSafeHwnd(), &canvas.Dc()));
    ASSERT_EQ(button.m_states.size(), 1u);
    EXPECT_EQ(button.m_states[0], ODS_SELECTED | ODS_FOCUS);
    EXPECT_EQ(canvas.At(25, 15), RGB(10, 20, 30));
    button.SetState(FALSE);
    button.EnableWindow(FALSE);
    ASSERT_TRUE(PrintWindow(button.GetSafeHwnd(), &canvas.Dc()));
    EXPECT_EQ(button.m_states.back(), ODS_DISABLED);
}

// A 100 x 60 popup template of one button.
DialogTemplate OneButtonTemplate(UINT id, const char* text, DWORD style)
{
    AfxRegisterButtonClass();
    DialogTemplate dialogTemplate;
    dialogTemplate.cx = 100;
    dialogTemplate.cy = 60;
    dialogTemplate.style = WS_POPUP;
    DialogItemTemplate item;
    item.id = id;
    item.className = "BUTTON";
    item.text = text;
    item.cx = 50;
    item.cy = 12;
    item.style = WS_CHILD | WS_VISIBLE | style;
    dialogTemplate.items.push_back(item);
    return dialogTemplate;
}

TEST_F(ButtonTest, TemplateButtonsAreButtonObjects)
{
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(OneButtonTemplate(51, "Check", BS_AUTOCHECKBOX), nullptr));
    CWnd* control = dialog.GetDlgItem(51);
    ASSERT_NE(dynamic_cast<CButton*>(control), nullptr);
    control->SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(control->SendMessage(BM_GETCHECK), BST_CHECKED);
    dialog.DestroyWindow();
}

// An owner-drawn button draws with its dialog's template font selected.
class CFaceButton : public CButton {
public:
    CString m_face;
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override
    {
        char face[LF_FACESIZE] = {};
        CDC::FromHandle(drawItem->hDC)->GetTextFace(LF_FACESIZE, face);
        m_face = face;
    }
};

TEST_F(ButtonTest, OwnerDrawnTemplateButtonsDrawWithTheTemplateFont)
{
    DialogTemplate dialogTemplate = OneButtonTemplate(61, "Send", BS_OWNERDRAW);
    dialogTemplate.fontName = "Courier New";
    dialogTemplate.fontPointSize = 8;
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(dialogTemplate, nullptr));
    Canvas canvas(80, 30);
    CFaceButton button;
    ASSERT_TRUE(button.SubclassDlgItem(61, &dialog));
    ASSERT_TRUE(PrintWindow(button.GetSafeHwnd(), &canvas.Dc()));
    EXPECT_EQ(button.m_face, "Courier New");
    button.UnsubclassWindow();
    dialog.DestroyWindow();

    // Without a template font the DC keeps the system font.
    CFaceButton plain;
    ASSERT_TRUE(plain.Create("", WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 60, 40), &parent, 62));
    ASSERT_TRUE(PrintWindow(plain.GetSafeHwnd(), &canvas.Dc()));
    EXPECT_EQ(plain.m_face, "System");
}

} // namespace

// Clicks at a control's place: a group box made before the controls it frames
// lies above them (a new child goes beneath its earlier siblings) and lets the
// mouse through; a disabled button takes neither mouse nor keys.
TEST_F(ButtonTest, ClicksAtAPlaceReachTheControlsAGroupBoxFrames)
{
    CButton group, a, b, box;
    ASSERT_TRUE(group.Create("Model", WS_VISIBLE | BS_GROUPBOX, CRect(5, 5, 200, 120), &parent, 20));
    ASSERT_TRUE(
        a.Create("A", WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, CRect(15, 25, 90, 45), &parent, 21));
    ASSERT_TRUE(b.Create("B", WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(15, 55, 90, 75), &parent, 22));
    ASSERT_TRUE(box.Create("C", WS_VISIBLE | BS_AUTOCHECKBOX, CRect(15, 85, 90, 105), &parent, 23));
    a.SetCheck(BST_CHECKED);
    ASSERT_TRUE(AfxSimulateClickAt(parent.GetSafeHwnd(), CPoint(50, 65)));
    EXPECT_EQ(a.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(b.GetCheck(), BST_CHECKED);
    EXPECT_EQ(parent.Clicks(22), 1);

    box.EnableWindow(FALSE);
    ASSERT_TRUE(AfxSimulateClickAt(parent.GetSafeHwnd(), CPoint(50, 95)));
    box.SetFocus();
    AfxSimulateKey(box.GetSafeHwnd(), VK_SPACE, " ");
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(parent.Clicks(23), 0);
    box.EnableWindow(TRUE);
    ASSERT_TRUE(AfxSimulateClickAt(parent.GetSafeHwnd(), CPoint(50, 95)));
    EXPECT_EQ(box.GetCheck(), BST_CHECKED);
}

TEST_F(ButtonTest, TextIsDrawnWhereTheStyleSays)
{
    enum class Place { Left, Middle, Right };
    struct Row {
        bool button;
        DWORD style;
        Place place;
    };
    const Row rows[] = { { false, SS_LEFT, Place::Left }, { false, SS_CENTER, Place::Middle },
        { false, SS_RIGHT, Place::Right }, { true, BS_PUSHBUTTON, Place::Middle } };
    for (const Row& row : rows) {
        CStatic label;
        CButton button;
        CWnd& control = row.button ? static_cast<CWnd&>(button) : label;
        const CRect place(0, 0, 200, 24);
        ASSERT_TRUE(row.button ? button.Create("", WS_VISIBLE | row.style, place, &parent, 700)
                               : label.Create("", WS_VISIBLE | row.style, place, &parent, 700));
        control.SetWindowText("MM");
        Snapshot shot(control, Snapshot::Scope::WithChildren);
        const CRect ink = shot.Ink(shot.At(100, 3), CRect(4, 4, 196, 20));
        ASSERT_FALSE(ink.IsRectEmpty()) << row.style;
        const Place found = ink.right < 70 ? Place::Left : (ink.left > 130 ? Place::Right : Place::Middle);
        EXPECT_EQ(found, row.place) << row.style;
        control.DestroyWindow();
    }
    // Left text wraps at word breaks.
    CStatic narrow;
    ASSERT_TRUE(narrow.Create("MM MM MM", WS_VISIBLE | SS_LEFT, CRect(0, 0, 40, 80), &parent, 702));
    Snapshot shot(narrow, Snapshot::Scope::WithChildren);
    EXPECT_GT(shot.Ink(shot.At(39, 79)).Height(), 30);
}

TEST_F(ButtonTest, OnlyADropDownComboTakesTypedText)
{
    for (const DWORD style : { CBS_DROPDOWN, CBS_DROPDOWNLIST }) {
        CComboBox combo;
        ASSERT_TRUE(combo.Create(WS_VISIBLE | style, CRect(0, 0, 120, 100), &parent, 701));
        combo.SetFocus();
        ASSERT_TRUE(AfxSimulateKey(combo.GetSafeHwnd(), 'X', "x"));
        CString text;
        combo.GetWindowText(text);
        EXPECT_EQ(text, style == CBS_DROPDOWN ? "x" : "") << style;
        combo.DestroyWindow();
    }
}
