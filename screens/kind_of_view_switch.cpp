// The screen switch: every hint of the left pane through one table of
// screens. An entry says what the hint's screen is called, whether it takes
// the 900-pixel split, whether the reservation buttons show, what it prints
// and which set-up builds it; the set-ups stand below the table, one per
// screen.

#include "db/db_messages.h"
#include "screens/kind_of_view.h"
#include "screens/table_bridge.h"
#include "screens/work_screen_kinds.h"
#include "serial/scale_register.h"
#include "shell/calvorn_view.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"
#include "shell/view_hints.h"

namespace {

constexpr int kSplitHeight = 900;

// Where a screen's kind word comes from.
enum class KindWord { Keep, Fixed, Query };

} // namespace

struct CKindOfView::ScreenEntry {
    LPARAM hint;
    KindWord kindFrom;
    const char* kind;
    bool split;
    BOOL reservation;
    const char* printKind;
    void (CKindOfView::*setUp)();
};

const CKindOfView::ScreenEntry* CKindOfView::FindScreen(LPARAM hint)
{
    using V = CKindOfView;
    static const ScreenEntry kScreens[] = {
        { kHintItem, KindWord::Fixed, "Item", true, TRUE, "ItemPrint", &V::SetUpItemScreen },
        { kHintIngredient, KindWord::Fixed, "Add", true, FALSE, "AddPrint", &V::SetUpIngredientScreen },
        { kHintPreset, KindWord::Fixed, "Pre", true, FALSE, "PresetPrint", &V::SetUpPresetScreen },
        { kHintAdvertisement, KindWord::Fixed, "Adv", true, FALSE, "AdvPrint", &V::ShowAdvScreen },
        { kHintScaleInfo, KindWord::Fixed, "Scale_Info", true, FALSE, "", &V::SetUpScaleInfoScreen },
        { kHintScaleReg, KindWord::Fixed, "Scale_reg", true, FALSE, "", &V::SetUpScaleRegScreen },
        { kHintRefresh, KindWord::Keep, nullptr, true, FALSE, "", &V::ShowLoggedOutScreen },
        { kHintDatabaseChanged, KindWord::Keep, nullptr, true, FALSE, "", &V::ShowInitialDisplay },
        { kHintScaleTotal, KindWord::Query, nullptr, true, FALSE, "ResultAllPrint", &V::ShowResultScreen },
        { kHintItemTotal, KindWord::Query, nullptr, true, FALSE, "ResultItemPrint", &V::ShowResultScreen },
        { kHintItemDay, KindWord::Query, nullptr, true, FALSE, "ResultItemDayPrint", &V::ShowResultScreen },
        { kHintOneDay, KindWord::Query, nullptr, true, FALSE, "ResultDayPrint", &V::ShowResultScreen },
        { kHintManagement, KindWord::Fixed, "Mg_Reg_Read", true, FALSE, "", &V::ShowUsersScreen },
        // The user-label pane sizes the split itself.
        { kHintUserLabel, KindWord::Fixed, "User_Label_Read", false, FALSE, "LabelPrint",
            &V::ShowUserLabelScreen },
        { kHintScaleRootInfo, KindWord::Fixed, "Scale_Root_Info", false, FALSE, "",
            &V::SetUpScaleRootInfoScreen },
        { kHintLandAddition, KindWord::Fixed, "Land_addition", true, FALSE, "LandPrint",
            &V::ShowLandAddScreen },
    };
    for (const ScreenEntry& entry : kScreens) {
        if (entry.hint == hint)
            return &entry;
    }
    return nullptr;
}

void CKindOfView::OnUpdate(CView*, LPARAM hint, void* hintObject)
{
    if (m_nUpdateLock)
        return;
    CCalvornView* left = nullptr;
    if (CMainFrame* frame = GetMainFrame())
        left = frame->GetCalvornView();

    // Hints 7-9 carry only the user id and keep the screen (and this view's
    // mailbox, which a running request may be using) as it is.
    if (hint == kHintCommMode || hint == kHintLoggedIn || hint == kHintLoggedOut) {
        if (left)
            m_strUserId = left->TakeUserWord();
        if (hint == kHintLoggedIn)
            m_nLoggedIn = 1;
        else if (hint == kHintLoggedOut)
            m_nLoggedIn = 0;
        else
            OnCommSetup();
        return;
    }

    const CString query = TakeScreenWords(left, hint, hintObject);
    ResetScreenState();
    const ScreenEntry* screen = FindScreen(hint);
    if (!screen)
        return;
    if (screen->kindFrom == KindWord::Fixed)
        SetKind(screen->kind);
    else if (screen->kindFrom == KindWord::Query)
        SetKind(query);
    if (screen->split) {
        if (CMainFrame* frame = GetMainFrame(); frame && frame->GetRightContainerView())
            frame->GetRightContainerView()->SetRowHeight(0, kSplitHeight);
    }
    if (screen->setUp)
        (this->*screen->setUp)();
    ShowReservationButtons(screen->reservation);
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
    m_hintKind = KindOfHint(hint);
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

void CKindOfView::SetUpItemScreen()
{
    SetCaptionText("Item Display");
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

void CKindOfView::SetUpIngredientScreen()
{
    ShowItemTypeScreen();
    SetCaptionText("Ingredient Display");
    StartLoad([this] {
        m_nUpdateLock = 1;
        m_pTableBridge->Request(DataKind::Add, m_strItemDbPath);
    });
    PlaceItemGrid();
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
    ShowScaleInfoScreen("Scale Information", &CScaleRegisterPort::SelectScaleInfo);
}

void CKindOfView::SetUpScaleRegScreen()
{
    m_nUpdateLock = 1;
    ShowScaleRegScreen();
}

void CKindOfView::SetUpScaleRootInfoScreen()
{
    m_nUpdateLock = 1;
    ShowScaleInfoScreen("Scale Information2", &CScaleRegisterPort::SelectScaleRootInfo);
}
