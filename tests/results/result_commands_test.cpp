// The left pane's commands 32780 and 32781: each opens its dialog modally,
// with no parent, the Result View with the pane's logged-in manager id.

#include "results/manager_result_view_dlg.h"
#include "results/result_dialog_commands.h"
#include "results/result_view_dlg.h"
#include "shell/calvorn_view.h"
#include "tests/results/result_fixture.h"

namespace {

class ResultCommandsTest : public ResultFixture { };

TEST_F(ResultCommandsTest, ThePaneOpensEachDialogWithItsUser)
{
    RegisterResultDialogCommands();
    CCalvornView pane;
    pane.LogIn("kim", "");
    CString user;
    bool parentless = false;
    bool managerView = false;
    ModalDialogScript::Push([&](CDialog& d) {
        user = dynamic_cast<CResultViewDlg&>(d).m_strUserId;
        parentless = d.GetParent() == nullptr;
    });
    ModalDialogScript::Push(
        [&](CDialog& d) { managerView = dynamic_cast<CManagerResultViewDlg*>(&d) != nullptr; });
    GetServerCommandHandler(ID_RESULT_VIEW)(pane);
    GetServerCommandHandler(ID_MANAGER_RESULT_VIEW)(pane);
    EXPECT_EQ(user, "kim");
    EXPECT_TRUE(parentless);
    EXPECT_TRUE(managerView);
    const std::vector<ModalDialogRecord> records = ModalDialogScript::Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].templateId, 199u);
    EXPECT_EQ(records[1].templateId, 212u);
}

} // namespace
