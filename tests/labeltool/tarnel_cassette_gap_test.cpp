// The viewer's edge after the cassette dialog: several tenths give the same
// dots, so OK keeps the edge as typed unless the dialog's gap prints otherwise.

#include <cstdlib>

#include "resources/tarnel_ids.h"
#include "tests/labeltool/tarnel_fixture.h"

namespace {

class CassetteGapTest : public TarnelTest { };

} // namespace

TEST_F(CassetteGapTest, OkKeepsATypedEdgeThatPrintsTheSame)
{
    const struct {
        const char* typed; // into the viewer's edge
        const char* dialogGap; // typed into the dialog; nullptr leaves it as shown
        const char* edge; // the viewer's edge after OK
    } cases[] = {
        { "20", nullptr, "20" }, // 13 dots, shown as 19
        { "17", nullptr, "17" }, // 11 dots, shown as 16
        { "20", "19", "20" }, // the same dots
        { "20", "30", "30" },
    };
    for (const auto& c : cases) {
        Type(IDC_LABEL_EDGE, c.typed);
        Paint();
        ModalDialogScript::Push([gap = c.dialogGap](CDialog& dialog) {
            if (gap)
                dialog.SetDlgItemText(IDC_CASSETTE_GAP, gap);
            AfxClickDlgButton(dialog, IDOK);
        });
        Command(*Frame(), ID_CASSETTE_DIALOG);
        Paint();
        EXPECT_EQ(Text(IDC_LABEL_EDGE), CString(c.edge))
            << c.typed << " " << (c.dialogGap ? c.dialogGap : "-");
        EXPECT_EQ(View()->GetCassette().gap, YDotsFromTenths(std::atoi(c.edge))) << c.typed;
    }
}
