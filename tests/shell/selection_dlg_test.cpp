// The selection lists: which candidates each dialog offers, how Select and
// Remove move them, and the text OK hands back.

#include <functional>

#include "db/store_paths.h"
#include "platform/base/exception.h"
#include "platform/base/file_system.h"
#include "platform/dao/dao_database.h"
#include "platform/wnd/controls/listbox.h"
#include "shell/file_helpers.h"
#include "shell/selection_dlg.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/icon_check.h"

namespace {

class SelectionDlgTest : public testing::Test {
protected:
    SelectionDlgTest()
    {
        ModalDialogScript::Enable();
        ModalDialogScript::Reset();
        MakeDirectoryPath("C:\\Windows\\system\\Manager");
        WriteResourceFile(152, kManagerDatabase); // manager "vexo" and scale "scale1" of vexo
    }
    ~SelectionDlgTest() override { ModalDialogScript::Reset(); }

    static void Execute(std::initializer_list<CString> statements)
    {
        CDaoDatabase db;
        try {
            db.Open(kManagerDatabase, FALSE, FALSE, ";PWD=quendrav");
            for (const CString& sql : statements)
                db.Execute(sql);
        } catch (CException* e) {
            ADD_FAILURE() << e->GetErrorText().GetString();
            e->Delete();
        }
        db.Close();
    }

    static void AddScale(const char* name, const char* manager)
    {
        CString sql;
        sql.Format("INSERT INTO [ScaleMG] ([scale_name], [mg_id]) VALUES ('%s', '%s')", name, manager);
        Execute({ sql });
    }

    INT_PTR Run(CDialog& dialog, std::function<void(CDialog&)> action)
    {
        ModalDialogScript::Push(std::move(action));
        return dialog.DoModal();
    }

    static CListBox& List(CDialog& dialog, int id)
    {
        auto* box = dynamic_cast<CListBox*>(dialog.GetDlgItem(id));
        EXPECT_NE(box, nullptr) << id;
        return *box;
    }

    static std::vector<CString> Strings(CDialog& dialog, int id)
    {
        std::vector<CString> strings;
        CListBox& box = List(dialog, id);
        for (int i = 0; i < box.GetCount(); ++i) {
            CString text;
            box.GetText(i, text);
            strings.push_back(text);
        }
        return strings;
    }

    // Selects the candidate with text (none when absent) and clicks Select.
    static void Pick(CDialog& dialog, const char* text)
    {
        CListBox& candidates = List(dialog, IDC_SELECT_CANDIDATES);
        candidates.SetCurSel(-1);
        for (int i = 0; i < candidates.GetCount(); ++i) {
            CString entry;
            candidates.GetText(i, entry);
            if (entry == text)
                candidates.SetCurSel(i);
        }
        AfxClickDlgButton(dialog, IDC_SELECT_ADD);
    }

    static void RemoveAt(CDialog& dialog, int index)
    {
        List(dialog, IDC_SELECT_CHOSEN).SetCurSel(index);
        AfxClickDlgButton(dialog, IDC_SELECT_REMOVE);
    }

    TempDataRoot m_root;
    ScopedMessageBoxScript m_boxes;
};

TEST(SelectionEntries, EveryTabJoSlashClosesOneEntry)
{
    struct Case {
        const char* rows;
        std::vector<CString> entries;
    };
    const Case cases[] = {
        { "vexo\tjo/kim\tjo/", { "vexo", "kim" } },
        { "FALSE", {} },
        { "", {} },
        { "\tjo/", { "" } },
        { "a\tjob\tjo/", { "a\tjob" } }, // a TAB without "jo/" belongs to the entry
        { "a\tjo/tail", { "a" } }, // text after the last separator is no entry
        { "김\tjo/\tjo/박\tjo/", { "김", "", "박" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        EXPECT_EQ(SplitSelectionEntries(c.rows), c.entries);
    }
}

TEST_F(SelectionDlgTest, ManagersAreOfferedSortedAndCanBeChosenTwice)
{
    Execute(
        { "INSERT INTO [Manager] VALUES ('kim', 'pw', 1)", "INSERT INTO [Manager] VALUES ('김철수', 'pw', 2)",
            "INSERT INTO [Manager] VALUES ('O''Neil', 'pw', 3)" });
    CManagerSelectDlg dialog;
    std::vector<CString> offered;
    std::vector<CString> chosen;
    const INT_PTR result = Run(dialog, [&](CDialog& d) {
        offered = Strings(d, IDC_SELECT_CANDIDATES);
        Pick(d, "kim");
        Pick(d, "O'Neil");
        Pick(d, "kim");
        Pick(d, "nobody"); // nothing selected: nothing moves
        chosen = Strings(d, IDC_SELECT_CHOSEN);
        AfxClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(offered, (std::vector<CString> { "kim", "O'Neil", "vexo", "김철수" }));
    EXPECT_EQ(chosen, (std::vector<CString> { "kim", "O'Neil", "kim" })); // each at the top
    EXPECT_EQ(dialog.m_strResult, "kim\tjo/O'Neil\tjo/kim\tjo/");
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(SelectionDlgTest, RemoveTakesOutTheSelectedEntryOnly)
{
    CManagerSelectDlg dialog;
    dialog.m_strResult = "old\tjo/";
    std::vector<std::vector<CString>> steps;
    bool icons = false;
    Run(dialog, [&](CDialog& d) {
        icons = ShowsIcon(d, IDC_SELECT_ADD, 170) && ShowsIcon(d, IDC_SELECT_REMOVE, 171)
            && ShowsIcon(d, IDOK, 163);
        Pick(d, "vexo");
        Pick(d, "vexo");
        RemoveAt(d, -1); // nothing selected
        steps.push_back(Strings(d, IDC_SELECT_CHOSEN));
        RemoveAt(d, 1);
        steps.push_back(Strings(d, IDC_SELECT_CHOSEN));
        RemoveAt(d, 0);
        steps.push_back(Strings(d, IDC_SELECT_CHOSEN));
        AfxClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].size(), 2u);
    EXPECT_EQ(steps[1], (std::vector<CString> { "vexo" }));
    EXPECT_TRUE(steps[2].empty());
    EXPECT_EQ(dialog.m_strResult, ""); // OK with an empty lower list
    EXPECT_TRUE(icons);
}

TEST_F(SelectionDlgTest, EscapeEndsWithCancelAndLeavesTheResult)
{
    CManagerSelectDlg dialog;
    dialog.m_strResult = "kept\tjo/";
    const INT_PTR result = Run(dialog, [](CDialog& d) {
        Pick(d, "vexo");
        AfxClickDlgButton(d, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.m_strResult, "kept\tjo/");
}

TEST_F(SelectionDlgTest, ManyCandidatesAreAllOffered)
{
    CDaoDatabase db;
    db.Open(kManagerDatabase, FALSE, FALSE, ";PWD=quendrav");
    for (int i = 0; i < 450; ++i) {
        CString sql;
        sql.Format("INSERT INTO [Manager] VALUES ('m%03d', 'pw', %d)", i, i);
        db.Execute(sql);
    }
    db.Close();
    CManagerSelectDlg dialog;
    std::vector<CString> offered;
    Run(dialog, [&](CDialog& d) {
        offered = Strings(d, IDC_SELECT_CANDIDATES);
        Pick(d, "m449");
        AfxClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(offered.size(), 451u);
    EXPECT_EQ(offered[0], "m000");
    EXPECT_EQ(offered[449], "m449");
    EXPECT_EQ(dialog.m_strResult, "m449\tjo/");
}

TEST_F(SelectionDlgTest, ScalesOfferedDependOnTheManager)
{
    AddScale("scale2", "kim");
    AddScale("저울3", "kim");
    AddScale("scale4", "O''Neil");
    AddScale("scale5", "KIM2");
    struct Case {
        const char* user;
        std::vector<CString> offered;
    };
    const Case cases[] = {
        { "vexo", { "scale1", "scale2", "scale4", "scale5", "저울3" } },
        { "kim", { "scale2", "저울3" } },
        { "KIM", { "scale2", "저울3" } }, // text compares ignore case
        { "O'Neil", { "scale4" } },
        { "nobody", {} },
        { "", {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user);
        CScaleSelectDlg dialog;
        dialog.m_strUserId = c.user;
        dialog.m_nSingleChoice = 1;
        std::vector<CString> offered;
        Run(dialog, [&](CDialog& d) {
            offered = Strings(d, IDC_SELECT_CANDIDATES);
            AfxClickDlgButton(d, IDOK);
        });
        EXPECT_EQ(offered, c.offered);
        EXPECT_EQ(dialog.m_strResult, "");
    }
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(SelectionDlgTest, ScaleSelectTakesOneScaleAtATime)
{
    AddScale("scale2", "vexo");
    CScaleSelectDlg dialog;
    dialog.m_strUserId = "vexo";
    dialog.m_nSingleChoice = 1;
    std::vector<std::vector<CString>> steps;
    Run(dialog, [&](CDialog& d) {
        Pick(d, "scale1");
        Pick(d, "scale2"); // a second Select does nothing
        steps.push_back(Strings(d, IDC_SELECT_CHOSEN));
        RemoveAt(d, 0);
        Pick(d, "scale2"); // after Remove another scale can be chosen
        steps.push_back(Strings(d, IDC_SELECT_CHOSEN));
        AfxClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0], (std::vector<CString> { "scale1" }));
    EXPECT_EQ(steps[1], (std::vector<CString> { "scale2" }));
    EXPECT_EQ(dialog.m_strResult, "scale2\tjo/");
}

TEST_F(SelectionDlgTest, ScaleSelectWithoutSingleChoiceChoosesNothing)
{
    CScaleSelectDlg dialog;
    dialog.m_strUserId = "vexo";
    dialog.m_strResult = "before\tjo/";
    std::vector<CString> chosen;
    const INT_PTR result = Run(dialog, [&](CDialog& d) {
        Pick(d, "scale1");
        chosen = Strings(d, IDC_SELECT_CHOSEN);
        AfxClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(dialog.m_strResult, "before\tjo/");
}

TEST_F(SelectionDlgTest, MissingManagerDatabaseLeavesTheListEmpty)
{
    ASSERT_TRUE(DeleteFile(kManagerDatabase));
    CManagerSelectDlg dialog;
    std::vector<CString> offered { "x" };
    Run(dialog, [&](CDialog& d) {
        offered = Strings(d, IDC_SELECT_CANDIDATES);
        AfxClickDlgButton(d, IDOK);
    });
    EXPECT_TRUE(offered.empty());
    EXPECT_EQ(dialog.m_strResult, "");
    EXPECT_EQ(m_boxes.Records().size(), 1u); // the engine's error is shown
}

} // namespace
