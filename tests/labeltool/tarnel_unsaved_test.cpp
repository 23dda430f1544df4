// Tarnel asks before label or cassette values that differ from the last
// opened, saved or received ones are dropped by Exit or Open; Yes saves into
// the label's file, or as Save As does when it has none; No goes on, Cancel
// stays.

#include "resources/tarnel_ids.h"
#include "tests/labeltool/tarnel_fixture.h"

namespace {

constexpr const char* kLabelQuestion = "The label has changes that are not saved.\nSave them first?";
constexpr const char* kCassetteQuestion = "The cassette has changes that are not saved.\nSave them first?";

class TarnelUnsavedTest : public TarnelTest {
protected:
    bool FrameOpen() const { return m_app->m_pMainWnd && m_app->m_pMainWnd->GetSafeHwnd(); }
    void Exit() { Command(*Frame(), ID_APP_EXIT); }
    // Ctrl+O pressed in the viewer.
    void PressOpen() { AfxSimulateKey(Bar().GetDlgItem(IDC_ORIGIN_X)->GetSafeHwnd(), 'O', "", FALSE, TRUE); }
    LabelValues SavedValues(const std::string& path) const
    {
        const std::string bytes = TempDataRoot::ReadAll(path);
        LabelValues values {};
        EXPECT_EQ(DecodeLabelFile(ByteBuffer(bytes.begin(), bytes.end()), values), LabelFileError::None);
        return values;
    }
};

} // namespace

TEST_F(TarnelUnsavedTest, ExitAsksAboutAChangedLabelCancelStaysYesSaves)
{
    Type(IDC_ORIGIN_X, "77"); // Origin X
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDCANCEL);
    Exit();
    EXPECT_EQ(Boxes(), std::vector<CString> { kLabelQuestion });
    ASSERT_TRUE(FrameOpen());
    EXPECT_EQ(Text(IDC_ORIGIN_X), "77");
    // Yes with the file dialog cancelled saves nothing and stays too.
    MessageBoxScript::PushAnswer(IDYES);
    FileDialogScript::PushCancel();
    Exit();
    ASSERT_TRUE(FrameOpen());
    const std::string path = m_root.Root() + "/kept.ubl";
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);
    FileDialogScript::PushPath(path.c_str());
    const LabelValues edited = Bar().GetValues();
    Exit();
    EXPECT_EQ(Boxes(), (std::vector<CString> { kLabelQuestion, "OK! File Saved" }));
    EXPECT_FALSE(FrameOpen());
    EXPECT_EQ(SavedValues(path), edited);
    EXPECT_EQ(edited[ItemValueIndices(1).x], 77);
}

TEST_F(TarnelUnsavedTest, OpenAsksOnlyAfterAnEditAndNoGoesOn)
{
    const std::string path = m_root.Root() + "/first.ubl";
    FileDialogScript::PushPath(path.c_str());
    Command(*Frame(), ID_LABEL_SAVE_AS);
    const LabelValues saved = SavedValues(path);
    // Unchanged since the save: no question.
    MessageBoxScript::Reset();
    FileDialogScript::PushPath(path.c_str());
    PressOpen();
    EXPECT_EQ(Boxes(), std::vector<CString> { "Success File Open." });
    // Changed: No drops the edit and opens the file.
    Type(IDC_ORIGIN_X, "77");
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDNO);
    FileDialogScript::PushPath(path.c_str());
    PressOpen();
    EXPECT_EQ(Boxes(), (std::vector<CString> { kLabelQuestion, "Success File Open." }));
    EXPECT_EQ(Bar().GetValues(), saved);
    EXPECT_EQ(SavedValues(path), saved);
    // Typed back to what the file holds: nothing to ask.
    const CString shown = Text(IDC_ORIGIN_X);
    Type(IDC_ORIGIN_X, "77");
    Type(IDC_ORIGIN_X, shown.GetString());
    MessageBoxScript::Reset();
    Exit();
    EXPECT_FALSE(FrameOpen());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(TarnelUnsavedTest, YesSavesAnOpenedLabelIntoItsFile)
{
    const std::string path = m_root.Root() + "/opened.ubl";
    FileDialogScript::PushPath(path.c_str());
    Command(*Frame(), ID_LABEL_SAVE_AS);
    FileDialogScript::PushPath(path.c_str());
    PressOpen();
    Type(IDC_ORIGIN_X, "77");
    const LabelValues edited = Bar().GetValues();
    const std::size_t dialogs = FileDialogScript::Records().size();
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);
    Exit();
    EXPECT_EQ(Boxes(), (std::vector<CString> { kLabelQuestion, "OK! File Saved" }));
    EXPECT_EQ(FileDialogScript::Records().size(), dialogs); // no Save As
    EXPECT_FALSE(FrameOpen());
    EXPECT_EQ(SavedValues(path), edited);
}

TEST_F(TarnelUnsavedTest, AChangedCassetteIsAskedAboutOnExitAndCassetteOpen)
{
    ModalDialogScript::Push([](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_CASSETTE_LEFT_EXTRA, "20"); // left extra
        AfxClickDlgButton(dialog, IDOK);
    });
    Command(*Frame(), ID_CASSETTE_DIALOG);
    const CassetteGeometry edited = View()->GetCassette();
    ASSERT_NE(edited, CassetteGeometry {});
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDCANCEL);
    Command(*Frame(), ID_CASSETTE_OPEN);
    EXPECT_EQ(Boxes(), std::vector<CString> { kCassetteQuestion });
    EXPECT_TRUE(FileDialogScript::Records().empty());
    EXPECT_EQ(View()->GetCassette(), edited);
    // Only the cassette changed: one question; Yes saves it, then Exit goes on.
    const std::string path = m_root.Root() + "/kept.cst";
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDYES);
    FileDialogScript::PushPath(path.c_str());
    Exit();
    EXPECT_EQ(Boxes(), (std::vector<CString> { kCassetteQuestion, "Success Casette save." }));
    EXPECT_FALSE(FrameOpen());
    const std::string bytes = TempDataRoot::ReadAll(path);
    CassetteGeometry read;
    EXPECT_EQ(DecodeCassetteFile(ByteBuffer(bytes.begin(), bytes.end()), read), CassetteFileError::None);
    EXPECT_EQ(read, edited);
}
