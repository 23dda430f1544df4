#include "screens/screen_switch.h"

#include "db/db_messages.h"
#include "db/mailbox_dlg.h"
#include "grid/grid_ctrl.h"
#include "screens/grid_rows.h"
#include "screens/item_defaults.h"
#include "screens/preset_keys.h"
#include "screens/preset_sheet_print.h"
#include "screens/result_kinds.h"
#include "screens/result_screens.h"
#include "screens/scale_screens.h"
#include "screens/table_bridge.h"
#include "screens/table_load.h"
#include "screens/users_screen.h"
#include "screens/work_screen_context.h"
#include "screens/work_screen_layout.h"
#include "shell/calvorn_view.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"
#include "shell/work_screen.h"
#include "transfer/scale_register.h"

namespace {

constexpr int kSplitHeight = 900;

} // namespace

CScreenSwitch::CScreenSwitch(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
    CWorkScreen& shellSide, const ScreenSwitchParts& parts)
    : m_screen(screen)
    , m_grid(grid)
    , m_data(data)
    , m_shellSide(shellSide)
    , m_parts(parts)
{ }

const MessageMap* CScreenSwitch::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnMessage<&CScreenSwitch::OnStoreReplaced>(WM_STORE_REPLACED),
        });
    return &kMap;
}

LRESULT CScreenSwitch::OnStoreReplaced(WPARAM, LPARAM)
{
    const ScreenInfo* screen = FindScreen(m_screen.Hint());
    if (!screen || m_screen.GetUpdateLock())
        return 0;
    switch (screen->setUp) {
    case ScreenSetUp::Items:
    case ScreenSetUp::Table:
    case ScreenSetUp::Preset:
    case ScreenSetUp::Results:
    case ScreenSetUp::Users:
    case ScreenSetUp::UserLabel:
        break;
    default:
        return 0; // a screen of no store rows
    }
    const CString query = screen->query ? CString(RequestName(*screen->query)) : CString();
    m_data.DbMailbox().PutQuery(&query, m_screen.UserId());
    m_parts.rows.ResetRows();
    m_parts.load.ResetLoad();
    ResetScreenState();
    (this->*SetUpOf(screen->setUp))();
    return 0;
}

void CScreenSwitch::OnUpdate(LPARAM hint, void* hintObject)
{
    if (m_screen.GetUpdateLock())
        return;
    const ScreenInfo* screen = FindScreen(hint);
    CCalvornView* left = nullptr;
    if (CMainFrame* frame = GetMainFrame())
        left = frame->GetCalvornView();

    // Hints 7-9 carry only the user id and keep the screen (and the screen's
    // mailbox, which a running request may be using) as it is.
    if (screen && screen->word == ScreenWord::None) {
        if (left)
            m_screen.SetUserId(left->TakeUserWord());
        (this->*SetUpOf(screen->setUp))();
        return;
    }

    const CString query = TakeScreenWords(left, hint, hintObject);
    ResetScreenState();
    if (!screen)
        return;
    SetKindWord(*screen, query);
    if (screen->rightPane == RightPane::Split)
        SplitRightPane();
    if (screen->caption)
        m_parts.layout.SetCaption(screen->caption, screen->caption);
    (this->*SetUpOf(screen->setUp))();
    m_parts.layout.ShowReservationButtons(
        screen->reservationButtons == ReservationButtons::Shown ? TRUE : FALSE);
    m_parts.print.SetPrintKind(screen->printKind);
}

void CScreenSwitch::ResetScreenWords()
{
    m_screen.SetUserId("");
    m_data.SetItemDbPath("");
    m_screen.SetHint(0);
    m_parts.rows.ResetRows();
    m_parts.load.ResetLoad();
    m_parts.scales.ForgetClickedScale();
}

// The left pane's settings and mailbox words move into the screen (the
// left pane's edits are left empty).
CString CScreenSwitch::TakeScreenWords(CCalvornView* left, LPARAM hint, void* hintObject)
{
    if (left) {
        m_nServerMode = left->IsServerMode();
        m_data.SetServerDbPath(left->ServerDatabasePath());
    }
    ResetScreenWords();
    m_screen.SetHint(static_cast<int>(hint));
    if (hintObject)
        m_data.SetItemDbPath(*static_cast<CString*>(hintObject));
    CString query;
    CString user;
    if (left)
        left->TakeNavigation(query, user);
    m_screen.SetUserId(user);
    m_data.DbMailbox().PutQuery(&query, user);
    return query;
}

// What every switch clears before the new screen is built.
void CScreenSwitch::ResetScreenState()
{
    m_parts.layout.ClearScreenPanels();
    m_parts.presetKeys.SetSheetFrame(FALSE);
    m_parts.print.SetPrintKind("");
    m_grid.Grid().ClearPicks();
    m_parts.rows.ForgetClickedCell();
}

void CScreenSwitch::SetKindWord(const ScreenInfo& screen, const CString& query)
{
    switch (screen.word) {
    case ScreenWord::Kind:
        m_screen.SetKind(KindInfo(*screen.kind).screenWord);
        break;
    case ScreenWord::Own:
        m_screen.SetKind(screen.ownWord);
        break;
    case ScreenWord::Query:
        m_screen.SetKind(query);
        break;
    case ScreenWord::None:
    case ScreenWord::Keep:
        break;
    }
}

void CScreenSwitch::SplitRightPane()
{
    if (CMainFrame* frame = GetMainFrame(); frame && frame->GetRightContainerView())
        frame->GetRightContainerView()->SetRowHeight(0, kSplitHeight);
}

// ---- Set-ups ---------------------------------------------------------------------------

CScreenSwitch::SetUp CScreenSwitch::SetUpOf(ScreenSetUp setUp)
{
    using S = CScreenSwitch;
    switch (setUp) {
    case ScreenSetUp::CommSetup:
        return &S::SetUpCommSetup;
    case ScreenSetUp::LogIn:
        return &S::SetUpLogIn;
    case ScreenSetUp::LogOut:
        return &S::SetUpLogOut;
    case ScreenSetUp::LogOutScreen:
        return &S::SetUpLogOutScreen;
    case ScreenSetUp::Initial:
        return &S::SetUpInitial;
    case ScreenSetUp::Items:
        return &S::SetUpItems;
    case ScreenSetUp::Table:
        return &S::SetUpTable;
    case ScreenSetUp::Preset:
        return &S::SetUpPreset;
    case ScreenSetUp::ScaleInfo:
        return &S::SetUpScaleInfo;
    case ScreenSetUp::ScaleRootInfo:
        return &S::SetUpScaleRootInfo;
    case ScreenSetUp::ScaleReg:
        return &S::SetUpScaleReg;
    case ScreenSetUp::Results:
        return &S::SetUpResults;
    case ScreenSetUp::Users:
        return &S::SetUpUsers;
    case ScreenSetUp::UserLabel:
        return &S::SetUpUserLabel;
    }
    return &S::SetUpInitial;
}

void CScreenSwitch::SetUpCommSetup()
{
    m_parts.scales.OnCommSetup();
}

void CScreenSwitch::SetUpLogIn()
{
    m_shellSide.SetCommSetupFlag(1);
}

void CScreenSwitch::SetUpLogOut()
{
    m_shellSide.SetCommSetupFlag(0);
}

void CScreenSwitch::SetUpLogOutScreen()
{
    m_shellSide.SetCommSetupFlag(0);
    SetUpInitial();
}

void CScreenSwitch::SetUpInitial()
{
    m_parts.layout.ShowPanels(ScreenSetUp::Initial, m_nServerMode);
    m_screen.Form().Invalidate();
}

void CScreenSwitch::SetUpItems()
{
    m_screen.Form().Invalidate();
    m_parts.layout.ShowPanels(ScreenSetUp::Items, m_nServerMode);
    // With the default values in force the grid leaves their columns out.
    const CItemDefaults& defaults = m_parts.defaults;
    const CString columns = defaults.LoadDefaultValues() ? defaults.BuildItemColumnList() : CString();
    m_screen.StartLoad([this, &columns] {
        m_screen.SetUpdateLock(1);
        m_data.TableBridge().Request(DataKind::Item, m_data.ItemDbPath(), columns);
    });
    m_parts.layout.ShowPosKindHelp(TRUE);
}

// Ingredients, advertisements and land additions.
void CScreenSwitch::SetUpTable()
{
    m_parts.layout.ShowPanels(ScreenSetUp::Table, m_nServerMode);
    m_screen.StartLoad([this] {
        m_screen.SetUpdateLock(1);
        m_data.TableBridge().Request(*m_screen.HintKind(), m_data.ItemDbPath());
    });
}

void CScreenSwitch::SetUpPreset()
{
    m_parts.layout.ShowPanels(ScreenSetUp::Preset, m_nServerMode);
    m_screen.StartLoad([this] {
        m_screen.SetUpdateLock(1);
        m_data.TableBridge().Request(DataKind::Preset, m_data.ItemDbPath());
    });
    m_screen.Form().Invalidate();
    m_parts.presetKeys.SetSheetFrame(TRUE);
}

// The scale screens' lock waits for the scale register's load.
void CScreenSwitch::SetUpScaleInfo()
{
    m_screen.SetUpdateLock(1);
    m_parts.layout.ShowPanels(ScreenSetUp::ScaleInfo, m_nServerMode);
    m_screen.StartLoad([this] { m_parts.scales.Register().SelectScaleInfo(""); });
}

void CScreenSwitch::SetUpScaleRootInfo()
{
    m_screen.SetUpdateLock(1);
    m_parts.layout.ShowPanels(ScreenSetUp::ScaleRootInfo, m_nServerMode);
    m_screen.StartLoad([this] { m_parts.scales.Register().SelectScaleRootInfo(""); });
}

void CScreenSwitch::SetUpScaleReg()
{
    m_screen.SetUpdateLock(1);
    m_parts.layout.ShowPanels(ScreenSetUp::ScaleReg, m_nServerMode);
    m_screen.StartLoad([this] { m_parts.scales.Register().SelectScales(""); });
}

// The totals of the screen's number; the caption follows the language.
void CScreenSwitch::SetUpResults()
{
    const ResultKind* kind = FindResultKind(m_screen.HintKind());
    if (!kind)
        return;
    const bool korean = m_screen.Language() == 1;
    m_parts.layout.SetCaption(
        korean ? kind->koreanCaption : kind->englishCaption, korean ? kind->koreanTip : kind->englishCaption);
    m_screen.Form().Invalidate();
    m_parts.layout.ShowResultPanels(kind->kind);
    m_parts.results.RequestResults(kind->kind);
}

void CScreenSwitch::SetUpUsers()
{
    m_parts.layout.SetCaption(InfoOf(Screen::Management).caption, "User Management.");
    m_screen.Form().Invalidate();
    m_parts.layout.ShowPanels(ScreenSetUp::Users, m_nServerMode);
    m_parts.users.RequestManagers();
}

void CScreenSwitch::SetUpUserLabel()
{
    m_screen.Form().Invalidate();
    m_parts.layout.ShowPanels(ScreenSetUp::UserLabel, m_nServerMode);
    m_screen.SetUpdateLock(1);
    m_screen.StartLoad([this] { m_data.TableBridge().Request(DataKind::UserLabel, m_data.ItemDbPath()); });
}
