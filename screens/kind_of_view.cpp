#include "screens/kind_of_view.h"

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/store_paths.h"
#include "platform/base/exception.h"
#include "platform/gdi/pen.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/runtime_class.h"
#include "screens/command_forwarding.h"
#include "screens/reservations.h"
#include "screens/result_screens.h"
#include "screens/table_bridge.h"
#include "screens/transfer_glue.h"
#include "screens/transfer_port.h"
#include "screens/transfer_ports.h"
#include "screens/user_label_screen.h"
#include "serial/serial_transfer.h"

namespace {

constexpr UINT kGridImageBitmap = 135;
constexpr COLORREF kCellBackColor = RGB(255, 255, 224);

// Each part registered once: offered the screen's commands, notifications and
// messages in this order, its controls bound in the form's data exchange, its
// panel controls laid out by the layout.
template <class... Parts> void RegisterParts(CCommandParts& parts, CWorkScreenLayout& layout, Parts&... each)
{
    (parts.Add(each), ...);
    (
        [&layout] {
            if constexpr (requires { Parts::PanelControls(); })
                layout.AddControls(Parts::PanelControls());
        }(),
        ...);
}

} // namespace

CKindOfView::CKindOfView()
    : CFormView(IDD_KIND_OF_VIEW)
    , m_grid(0, 0, 0, 0)
    , m_mailbox(this)
    , m_scales(*this, *this, *this, [this] { return m_nLoggedIn; })
    , m_load(*this, *this, *this, m_scales, m_rows, m_users, [this] { m_pResults->OnLoadDone(); })
{
    m_pItemWorker = new CItemDbWorker;
    m_pItemWorker->SetOwner(this, &m_mailbox);
    m_pItemWorker->SetInsertReadTarget(this);
    CWorkScreenContext& context = *this;
    m_pTransfers = std::make_unique<CTransferGlue>(
        context, context, m_layout, context, m_scales, m_presetKeys, m_defaults, m_rows);
    m_pResults = std::make_unique<CResultScreens>(
        context, context, context, m_scales, m_pTransfers->Results(), m_pTransfers->Hosts());
    m_pReservations.reset(
        new CReservations(context, context, context, [this] { return m_pTransfers->GetTransferActive(); }));
    m_pTableBridge = new CTableBridge(context, context, context, m_presetKeys, m_defaults, m_users);
    m_pSwitch = std::make_unique<CScreenSwitch>(context, context, context, *this,
        ScreenSwitchParts {
            m_layout, m_presetKeys, m_defaults, m_scales, m_users, *m_pResults, m_print, m_rows, m_load });
    m_pUserLabels
        = std::make_unique<CUserLabelScreen>(context, context, context, m_rows, m_load, *m_pTransfers);
    RegisterParts(m_parts, m_layout, *m_pResults, *m_pTransfers, m_rows, *m_pReservations, m_presetKeys,
        m_users, m_sync, m_scales, m_scaleSettings, m_load, m_editor, *m_pUserLabels, *m_pSwitch);
    m_mailbox.Create(this);
    m_pSwitch->ResetScreenWords();
    m_nLoggedIn = 0;
    m_nUpdateLock = 0;
    SetLanguage(2);
}

CKindOfView::~CKindOfView()
{
    // Every reservation thread ends before anything it may reach goes.
    m_pReservations.reset();
    m_pResults.reset();
    m_pTransfers.reset();
    delete m_pItemWorker;
    m_pItemWorker = nullptr;
    delete m_pTableBridge;
    m_pTableBridge = nullptr;
}

const CRuntimeClass* CKindOfView::GetThisClass()
{
    static const CRuntimeClass kClass { "CKindOfView", &AfxCreateObject<CKindOfView>,
        CFormView::GetThisClass() };
    return &kClass;
}

const MessageMap* CKindOfView::GetMessageMap() const
{
    static const MessageMap kMap(CView::GetMessageMap(),
        {
            OnWm<WM_CREATE, &CKindOfView::OnCreate>(),
            OnWm<WM_SIZE, &CKindOfView::OnSize>(),
            OnWm<WM_TIMER, &CKindOfView::OnTimer>(),
            OnCommandMsg<&CKindOfView::OnFilePrint>(ID_FILE_PRINT),
        });
    return &kMap;
}

BOOL CKindOfView::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    BOOL forwarded = FALSE;
    const BOOL handled = ForwardToLeftPane(
        { ID_USER_INFO_CHANGE, ID_FILE_SAVE_AS_DB, ID_SERVER_START, ID_SERVER_STOP, ID_SERVER_PORT,
            ID_RESULT_VIEW, ID_MANAGER_RESULT_VIEW, ID_DEFAULT_VALUE_SETUP, ID_ITEM_INFO_CHANGE,
            ID_ACCESS_TO_EXCEL, ID_EXCEL_NEW_FILE, ID_EXCEL_TO_ACCESS, ID_FILE_NEW, ID_FILE_OPEN },
        id, code, extra, handlerInfo, &forwarded);
    if (forwarded)
        return handled;
    return m_parts.OnCmdMsg(id, code, extra, handlerInfo)
        || CFormView::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CKindOfView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return m_parts.OnNotify(wParam, lParam, result) || CFormView::OnNotify(wParam, lParam, result);
}

// A message the view's own map does not take goes to the first part that does.
LRESULT CKindOfView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (message != WM_COMMAND && message != WM_NOTIFY && !GetMessageMap()->Find(message, 0, 0)
        && m_parts.OnMessage(message, wParam, lParam, &result))
        return result;
    return CFormView::WindowProc(message, wParam, lParam);
}

void CKindOfView::DoDataExchange(CDataExchange* dx)
{
    CFormView::DoDataExchange(dx);
    DDX_Control(dx, IDC_WORK_GRID, m_grid);
    m_parts.DoDataExchange(dx);
    m_layout.DoDataExchange(dx);
    DDX_Control(dx, IDC_WORK_PRESET_NOTE, m_labelPresetNote);
    DDX_Control(dx, ID_FILE_PRINT, m_btnPrint);
}

int CKindOfView::OnCreate(LPCREATESTRUCT createStruct)
{
    if (CFormView::OnCreate(createStruct) == -1)
        return -1;
    if (!m_layout.CreateCaption())
        return -1;
    m_pTransfers->CreateTransports();
    return 0;
}

int CKindOfView::GetTransferActive() const
{
    return m_pTransfers ? m_pTransfers->GetTransferActive() : 0;
}

void CKindOfView::LoadStoreAgain()
{
    if (GetSafeHwnd())
        PostMessage(WM_STORE_REPLACED);
}

void CKindOfView::OnTimer(UINT_PTR id)
{
    if (m_pTransfers->OnTimer(id) || m_pReservations->OnReservationTimer(id))
        return;
    CFormView::OnTimer(id);
}

void CKindOfView::OnSize(UINT type, int cx, int cy)
{
    CFormView::OnSize(type, cx, cy);
    m_layout.SizeCaption(cx);
}

CResultScreens& CKindOfView::GetResultScreens()
{
    return *m_pResults;
}

// The screen switch (screens/screen_switch.h).
void CKindOfView::OnUpdate(CView*, LPARAM hint, void* hintObject)
{
    m_pSwitch->OnUpdate(hint, hintObject);
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

void CKindOfView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();

    if (m_gridImages.Create(kGridImageBitmap, 16, 1, RGB(255, 255, 255)))
        m_grid.SetImageList(&m_gridImages);
    m_grid.EnableDragAndDrop(TRUE);
    if (CGridDefaultCell* cell = m_grid.GetDefaultCell(FALSE, FALSE))
        cell->SetBackClr(kCellBackColor);
    m_pSwitch->ResetScreenWords();
    RebuildGrid();
    m_grid.SetFixedRowSelection(TRUE);
    m_grid.SetFixedColumnSelection(TRUE);
    m_grid.AllowColumnHide(TRUE);
    m_grid.AutoSize(0);
    m_grid.SetCompareFunction(&CGridCtrl::CompareItemNumber);
    m_pSwitch->ResetScreenWords();
    m_layout.ShowStartPanels();
    m_presetKeys.CreatePresetKeyEdits();
    m_presetKeys.ShowPresetKeys(FALSE);
    m_scales.CreateScaleRegisterControls();
    m_scales.ShowScaleRegisterControls(FALSE);
    m_scales.ClearScaleList();

    m_pTransfers->Hosts().Start();
    if (!m_scales.ReadCommMode())
        m_scales.ApplyDefaultCommSettings();
    m_pReservations->Start();
    Invalidate(FALSE);
}

void CKindOfView::SetLanguage(int language)
{
    m_nLanguage = language;
}

void CKindOfView::SignInAdministrator()
{
    m_strUserId = kAdministratorId;
    m_nLoggedIn = 1;
}

BOOL CKindOfView::StartLoad(const std::function<void()>& start)
{
    try {
        start();
        return TRUE;
    } catch (CException* e) {
        ExceptionPtr hold(e);
        m_nUpdateLock = 0;
        m_pItemWorker->ClearRequest();
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
        return FALSE;
    }
}

void CKindOfView::OnDraw(CDC* dc)
{
    m_presetKeys.DrawSheetFrame(dc);
}
