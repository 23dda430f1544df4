// The screen switch: every hint of the left pane through the table of
// screens (shell/screen_table.h), which says the screen's kind word,
// caption, split, reservation buttons, print kind and set-up; the set-ups
// stand below, one per kind of screen.

#include "db/db_messages.h"
#include "screens/kind_of_view.h"
#include "screens/table_bridge.h"
#include "shell/calvorn_view.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"
#include "shell/screen_table.h"
#include "transfer/scale_register.h"

namespace {

constexpr int kSplitHeight = 900;

} // namespace

// The set-up of each kind of screen.
CKindOfView::SetUpFunction CKindOfView::SetUpOf(ScreenSetUp setUp)
{
    using V = CKindOfView;
    switch (setUp) {
    case ScreenSetUp::CommSetup:
        return &V::SetUpCommSetup;
    case ScreenSetUp::LogIn:
        return &V::SetUpLogIn;
    case ScreenSetUp::LogOut:
        return &V::SetUpLogOut;
    case ScreenSetUp::LogOutScreen:
        return &V::ShowLoggedOutScreen;
    case ScreenSetUp::Initial:
        return &V::ShowInitialDisplay;
    case ScreenSetUp::Items:
        return &V::SetUpItemScreen;
    case ScreenSetUp::Table:
        return &V::SetUpTableScreen;
    case ScreenSetUp::Preset:
        return &V::SetUpPresetScreen;
    case ScreenSetUp::ScaleInfo:
        return &V::SetUpScaleInfoScreen;
    case ScreenSetUp::ScaleRootInfo:
        return &V::SetUpScaleRootInfoScreen;
    case ScreenSetUp::ScaleReg:
        return &V::SetUpScaleRegScreen;
    case ScreenSetUp::Results:
        return &V::ShowResultScreen;
    case ScreenSetUp::Users:
        return &V::ShowUsersScreen;
    case ScreenSetUp::UserLabel:
        return &V::ShowUserLabelScreen;
    }
    return nullptr;
}

void CKindOfView::OnUpdate(CView*, LPARAM hint, void* hintObject)
{
    if (m_nUpdateLock)
        return;
    const ScreenInfo* screen = FindScreen(hint);
    CCalvornView* left = nullptr;
    if (CMainFrame* frame = GetMainFrame())
        left = frame->GetCalvornView();

    // Hints 7-9 carry only the user id and keep the screen (and this view's
    // mailbox, which a running request may be using) as it is.
    if (screen && screen->word == ScreenWord::None) {
        if (left)
            m_strUserId = left->TakeUserWord();
        (this->*SetUpOf(screen->setUp))();
        return;
    }

    const CString query = TakeScreenWords(left, hint, hintObject);
    ResetScreenState();
    if (!screen)
        return;
    if (screen->word == ScreenWord::Kind)
        SetKind(KindInfo(*screen->kind).screenWord);
    else if (screen->word == ScreenWord::Own)
        SetKind(screen->ownWord);
    else if (screen->word == ScreenWord::Query)
        SetKind(query);
    if (screen->split) {
        if (CMainFrame* frame = GetMainFrame(); frame && frame->GetRightContainerView())
            frame->GetRightContainerView()->SetRowHeight(0, kSplitHeight);
    }
    if (screen->caption)
        SetCaptionText(screen->caption);
    (this->*SetUpOf(screen->setUp))();
    ShowReservationButtons(screen->reservation ? TRUE : FALSE);
    m_print.SetPrintKind(screen->printKind);
}

// The one parse of the screen's kind word.
void CKindOfView::SetKind(const CString& kind)
{
    m_strKind = kind;
    m_kind = KindOfScreenWord(kind.View());
}

// The one parse of the screen's number.
void CKindOfView::SetHint(int hint)
{
    m_nHint = hint;
    const ScreenInfo* screen = FindScreen(hint);
    m_hintKind = screen ? screen->kind : std::nullopt;
}

// The left pane's settings and mailbox words move into the screen (the
// left pane's edits are left empty); returns the query word.
CString CKindOfView::TakeScreenWords(CCalvornView* left, LPARAM hint, void* hintObject)
{
    if (left) {
        m_nServerMode = left->IsServerMode();
        m_strServerDbPath = left->ServerDatabasePath();
    }
    SetDefaultMembers();
    SetHint(static_cast<int>(hint));
    if (hintObject)
        m_strItemDbPath = *static_cast<CString*>(hintObject);
    CString query;
    CString user;
    if (left)
        left->TakeNavigation(query, user);
    m_strUserId = user;
    m_mailbox.SetText(IDC_MAILBOX_NAME, query);
    m_mailbox.SetText(IDC_MAILBOX_TEXT, user);
    return query;
}

// What every switch clears before the new screen is built.
void CKindOfView::ResetScreenState()
{
    if (m_editProgress.GetSafeHwnd())
        m_editProgress.SetWindowText("");
    ShowPosKindHelp(FALSE);
    m_presetKeys.SetSheetFrame(FALSE);
    ShowControls({ 1145, 57607 }, FALSE);
    m_print.SetPrintKind("");
    ClearPickedRows();
    ForgetClickedCell();
}

void CKindOfView::SetUpLogIn()
{
    m_nLoggedIn = 1;
}

void CKindOfView::SetUpLogOut()
{
    m_nLoggedIn = 0;
}

// Hint 7: the communication dialog of the scale screens.
void CKindOfView::SetUpCommSetup()
{
    m_scales.OnCommSetup();
}

void CKindOfView::SetUpItemScreen()
{
    Invalidate();
    ShowItemTypeScreen();
    // With the default values in force the grid leaves their columns out.
    const CString columns = m_defaults.LoadDefaultValues() ? m_defaults.BuildItemColumnList() : CString();
    StartLoad([this, &columns] {
        m_nUpdateLock = 1;
        m_pTableBridge->Request(DataKind::Item, m_strItemDbPath, columns);
    });
    PlaceItemGrid();
    ShowPosKindHelp(TRUE);
}

// Ingredients, advertisements and land additions.
void CKindOfView::SetUpTableScreen()
{
    ShowItemTypeScreen();
    StartLoad([this] {
        m_nUpdateLock = 1;
        m_pTableBridge->Request(*m_hintKind, m_strItemDbPath);
    });
}

void CKindOfView::SetUpPresetScreen()
{
    ShowPresetScreen();
    StartLoad([this] {
        m_nUpdateLock = 1;
        m_pTableBridge->Request(DataKind::Preset, m_strItemDbPath);
    });
    Invalidate();
    m_presetKeys.SetSheetFrame(TRUE);
}

// The scale screens' lock waits for the scale register's load.
void CKindOfView::SetUpScaleInfoScreen()
{
    m_nUpdateLock = 1;
    ShowScaleInfoScreen(&CScaleRegisterPort::SelectScaleInfo);
}

void CKindOfView::SetUpScaleRegScreen()
{
    m_nUpdateLock = 1;
    ShowScaleRegScreen();
}

void CKindOfView::SetUpScaleRootInfoScreen()
{
    m_nUpdateLock = 1;
    ShowScaleInfoScreen(&CScaleRegisterPort::SelectScaleRootInfo);
}
