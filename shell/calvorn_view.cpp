#include "shell/calvorn_view.h"

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/manager_db_worker.h"
#include "db/sql_text.h"
#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "platform/base/file_system.h"
#include "platform/dao/dao_database.h"
#include "platform/wnd/core/cmdui.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/dialogs/filedialog.h"
#include "shell/calvorn_doc.h"
#include "shell/default_value_dlg.h"
#include "shell/excel_convert.h"
#include "shell/file_helpers.h"
#include "shell/main_frame.h"
#include "shell/manager_class.h"
#include "shell/manager_settings.h"
#include "shell/right_container_view.h"
#include "shell/screen_table.h"
#include "shell/windows_version.h"
#include "shell/work_screen.h"

namespace {

constexpr DWORD kCaptionStyle = 0x50004000; // child, visible, tooltip
constexpr DWORD kLoginButtonStyle = 0x50000020;
constexpr DWORD kTreeStyle = 0x50000022; // child, visible, lines, selection always shown
constexpr int kCaptionHeight = 18;
// Save As that could not copy: the cause and the file not made.
constexpr const char* kCopyNotMade = "%s\n\nThe copy %s was not made.";
constexpr int kTreeTop = 100;
constexpr int kTreeLeft = 10;
constexpr UINT kCategoryBitmap = 184;
constexpr int kCategoryImageWidth = 32;
constexpr COLORREF kCategoryMask = RGB(255, 0, 255);
constexpr int kGroupImage = 0;
constexpr int kEntryImage = 1;
constexpr UINT_PTR kKeepAliveTimer = 2000;
constexpr UINT kKeepAliveMs = 10000;
constexpr int kLoginIcon = 159;
constexpr std::size_t kServerTextCount = 400;
constexpr std::size_t kInfoTextCount = 100;
constexpr const char* kItemDatabaseFilter = "mdb File(*.mdb)|*.mdb||";
constexpr const char* kItemDatabaseProbe = "SELECT [item_num] FROM [Item]";
constexpr std::size_t kInfoChangeSlots = 50;
constexpr const char* kEmptySlot = "-1";
constexpr const char* kWorkerBusyText
    = "The work screen is still reading its table.\nTry Information Change again when it has finished.";

struct TreeGroup {
    const char* english;
    const char* korean;
    std::vector<const char*> entries; // English entry texts (see screen_table.cpp)
    std::vector<const char*> adminEntries;
};

const TreeGroup kGroups[] = {
    { "Item Catalogue", "상품 관련", { "Item", "Ingredient", "Preset", "Advertisement", "Land Addition" },
        {} },
    { "Result Catalogue", "집계 관련",
        { "Scale Total Result", "Item Total Result", "Item Day Result", "One Day Result" }, {} },
    { "Scale Management", "저울 관리", { "Scale Info" }, { "Scale Info2", "Scale Reg" } },
};

// The entry's text in the language.
const char* EntryText(const char* english, int language)
{
    if (language != 1)
        return english;
    const ScreenInfo* screen = FindTreeScreen(english, 2);
    return screen ? screen->korean : english;
}

} // namespace

CCalvornView::CCalvornView()
    : m_mailbox(this)
    , m_serverTexts(kServerTextCount)
    , m_infoTexts(kInfoTextCount)
{
    m_pManager = new CManagerClass;
    m_pManager->SetView(this);
    m_pManagerWorker = new CManagerDbWorker;
    m_pManagerWorker->SetOwner(this, &m_mailbox);
    m_mailbox.Create(this);
    m_nLanguage = 2;
    m_pManager->m_nLanguage = m_nLanguage;
}

CCalvornView::~CCalvornView()
{
    m_pResultServer.reset();
    delete m_pManagerWorker;
    m_pManagerWorker = nullptr;
    delete m_pManager;
    m_pManager = nullptr;
    if (m_nServerRunning && !m_strServerLogPath.IsEmpty()) {
        try {
            CFile log(m_strServerLogPath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
            log.SeekToEnd();
            const CString line = "Server Stop Time : " + GetLogTimeText() + "\r\n";
            log.Write(line.GetString(), static_cast<UINT>(line.GetLength()));
            log.Close();
        } catch (CException* e) {
            e->Delete();
        }
    }
}

const CRuntimeClass* CCalvornView::GetThisClass()
{
    static const CRuntimeClass kClass { "CCalvornView", &AfxCreateObject<CCalvornView>,
        CView::GetThisClass() };
    return &kClass;
}

const MessageMap* CCalvornView::GetMessageMap() const
{
    static const MessageMap kMap(CView::GetMessageMap(),
        {
            OnWm<WM_CREATE, &CCalvornView::OnCreate>(),
            OnWm<WM_SIZE, &CCalvornView::OnSize>(),
            OnWm<WM_TIMER, &CCalvornView::OnTimer>(),
            OnNotifyMsg<&CCalvornView::OnCategorySelChanged>(TVN_SELCHANGED, IDC_CATEGORY_TREE),
            OnCommandMsg<&CCalvornView::OnLoginButton>(IDC_LOGIN_BUTTON),
            OnMessage<&CCalvornView::OnManagerRow>(WM_MGRQUERY_ROW),
            OnMessage<&CCalvornView::OnManagerNoRow>(WM_MGRQUERY_EMPTY),
            OnMessage<&CCalvornView::OnManagerReport>(WM_MGRQUERY_DONE),
            OnMessage<&CCalvornView::OnManagerRefresh>(WM_MANAGER_REFRESH),
            OnCommandMsg<&CCalvornView::OnFileNew>(ID_FILE_NEW),
            OnCommandMsg<&CCalvornView::OnFileOpen>(ID_FILE_OPEN),
            OnCommandMsg<&CCalvornView::OnFileSaveAs>(ID_FILE_SAVE_AS_DB),
            OnCommandMsg<&CCalvornView::OnAccessToExcel>(ID_ACCESS_TO_EXCEL),
            OnCommandMsg<&CCalvornView::OnExcelNewFile>(ID_EXCEL_NEW_FILE),
            OnCommandMsg<&CCalvornView::OnExcelToAccess>(ID_EXCEL_TO_ACCESS),
            OnCommandMsg<&CCalvornView::OnUserInfoChange>(ID_USER_INFO_CHANGE),
            OnCommandMsg<&CCalvornView::OnNewManager>(ID_NEW_MANAGER),
            OnCommandMsg<&CCalvornView::OnCommSetup>(ID_COMM_SETUP),
            OnCommandMsg<&CCalvornView::OnDefaultValueSetup>(ID_DEFAULT_VALUE_SETUP),
            OnCommandMsg<&CCalvornView::OnItemInfoChange>(ID_ITEM_INFO_CHANGE),
            OnUpdateCommand<&CCalvornView::OnUpdateCommSetup>(ID_COMM_SETUP),
            OnUpdateCommand<&CCalvornView::OnUpdateNeedsLogin>(ID_FILE_NEW),
            OnUpdateCommand<&CCalvornView::OnUpdateNeedsLogin>(ID_FILE_OPEN),
            OnUpdateCommand<&CCalvornView::OnUpdateNeedsLogin>(ID_FILE_SAVE_AS_DB),
            OnUpdateCommand<&CCalvornView::OnUpdateNeedsLogin>(ID_ACCESS_TO_EXCEL),
            OnUpdateCommand<&CCalvornView::OnUpdateNeedsLogin>(ID_EXCEL_NEW_FILE),
            OnUpdateCommand<&CCalvornView::OnUpdateNeedsLogin>(ID_EXCEL_TO_ACCESS),
            OnUpdateCommand<&CCalvornView::OnUpdateNeedsLogin>(ID_USER_INFO_CHANGE),
            OnUpdateCommand<&CCalvornView::OnUpdateNeedsItemDatabase>(ID_DEFAULT_VALUE_SETUP),
            OnUpdateCommand<&CCalvornView::OnUpdateNeedsItemDatabase>(ID_ITEM_INFO_CHANGE),
            OnUpdateCommand<&CCalvornView::OnUpdateNeedsAdministrator>(ID_NEW_MANAGER),
            OnCommandRange<&CCalvornView::OnServerCommand>(ID_SERVER_START, ID_SERVER_START),
            OnCommandRange<&CCalvornView::OnServerCommand>(ID_SERVER_STOP, ID_SERVER_STOP),
            OnCommandRange<&CCalvornView::OnServerCommand>(ID_SERVER_PORT, ID_SERVER_PORT),
            OnCommandRange<&CCalvornView::OnServerCommand>(ID_RESULT_VIEW, ID_RESULT_VIEW),
            OnCommandRange<&CCalvornView::OnServerCommand>(ID_MANAGER_RESULT_VIEW, ID_MANAGER_RESULT_VIEW),
            OnUpdateCommand<&CCalvornView::OnUpdateServer>(ID_SERVER_START),
            OnUpdateCommand<&CCalvornView::OnUpdateServer>(ID_SERVER_STOP),
            OnUpdateCommand<&CCalvornView::OnUpdateServer>(ID_SERVER_PORT),
            OnUpdateCommand<&CCalvornView::OnUpdateServer>(ID_RESULT_VIEW),
            OnUpdateCommand<&CCalvornView::OnUpdateServer>(ID_MANAGER_RESULT_VIEW),
        });
    return &kMap;
}

CCalvornDoc* CCalvornView::GetDocument() const
{
    return DynamicDownCast<CCalvornDoc>(m_pDocument);
}

int CCalvornView::OnCreate(LPCREATESTRUCT createStruct)
{
    if (CView::OnCreate(createStruct) == -1)
        return -1;
    if (!m_captionPanel.Create(nullptr, nullptr, kCaptionStyle, CRect(0, 0, 0, 0), this, IDC_CAPTION_PANEL))
        return -1;
    m_captionPanel.SetCaption(m_strCaption);
    m_captionPanel.SetTipText(m_strCaption);
    if (m_loginButton.Create(m_nLanguage == 1 ? "로그인" : "Log-in", kLoginButtonStyle,
            CRect(20, 20, 150, 100), this, IDC_LOGIN_BUTTON)) {
        m_loginButton.LoadIcons(kLoginIcon, CIconButton::kAutoDarker);
        m_loginButton.SetTransparentMode(FALSE);
    }
    return 0;
}

void CCalvornView::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    if (m_captionPanel.GetSafeHwnd())
        m_captionPanel.SetWindowPos(&CWnd::wndTop, 0, 0, cx, kCaptionHeight, SWP_NOMOVE);
    if (m_categoryTree.GetSafeHwnd())
        m_categoryTree.MoveWindow(kTreeLeft, kTreeTop, cx, cy - kTreeTop);
}

void CCalvornView::OnTimer(UINT_PTR id)
{
    if (id == kKeepAliveTimer) {
        if (m_pResultServer)
            m_pResultServer->SendKeepAlive();
        KillTimer(kKeepAliveTimer);
        SetTimer(kKeepAliveTimer, kKeepAliveMs);
    }
    CView::OnTimer(id);
}

void CCalvornView::OnDraw(CDC*) { }

void CCalvornView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    ProvisionDataFiles();
    ClearUnfinishedImports();
    m_captionPanel.SetCaption(m_nLanguage == 1 ? "로그인을 하십시오" : "Input Log ID");
    CreateCategoryTree();
    if (m_nKeepAliveFlag)
        SetTimer(kKeepAliveTimer, kKeepAliveMs);
    WriteSampleDatabase();
    LogInAdministrator();
    if (ResultServerFactory factory = GetResultServerFactory()) {
        m_pResultServer = factory(*this);
        if (m_pResultServer)
            m_pResultServer->StartAtStartUp();
    }
}

void CCalvornView::ProvisionDataFiles()
{
    MakeDirectoryPath(kManagerFolder);
    ProvisionDatabaseFile(kManagerTemplateId, kManagerDatabase);
    ProvisionDatabaseFile(kScaleInfoTemplateId, kScaleSettingsDatabase);
    ProvisionDatabaseFile(kReservationTemplateId, kReservationDatabase);
}

void CCalvornView::WriteSampleDatabase()
{
    const CString version = GetWindowsVersionName();
    const char* folder = nullptr;
    const char* file = nullptr;
    if (version == "Microsoft Windows NT" || version == "Microsoft Windows 2000" || version == "Whistler") {
        folder = kSampleFolderNt;
        file = kSampleDatabaseNt;
    } else if (version == "Microsoft Windows 95" || version == "Microsoft Windows 98"
        || version == "Microsoft Windows Me") {
        folder = kSampleFolder9x;
        file = kSampleDatabase9x;
    }
    if (!folder)
        return;
    MakeDirectoryPath(folder);
    ProvisionDatabaseFile(kItemTemplateId, file);
}

void CCalvornView::LogInAdministrator()
{
    m_loginButton.ShowWindow(SW_HIDE);
    m_strUserId = kAdministratorId;
    m_captionPanel.SetCaption(m_strUserId);
    m_captionPanel.Invalidate();
    m_nLoggedIn = 1;
    m_nAdminFlag = 1;
    if (CMainFrame* frame = GetMainFrame())
        if (CRightCotainerView* right = frame->GetRightContainerView())
            if (CWorkScreen* screen = right->GetWorkScreen())
                screen->SetCommSetupFlag(1);
}

void CCalvornView::CreateCategoryTree()
{
    if (m_categoryTree.GetSafeHwnd())
        return;
    m_categoryTree.Create(kTreeStyle, CRect(0, 0, 0, 0), this, IDC_CATEGORY_TREE);
    m_treeImages.Create(kCategoryBitmap, kCategoryImageWidth, 1, kCategoryMask);
    m_categoryTree.SetImageList(&m_treeImages, TVSIL_NORMAL);
    CRect client;
    GetClientRect(&client);
    m_categoryTree.MoveWindow(kTreeLeft, kTreeTop, client.Width(), client.Height() - kTreeTop);
}

void CCalvornView::FillCategoryTree()
{
    for (const TreeGroup& group : kGroups) {
        HTREEITEM parent = m_categoryTree.InsertItem(
            m_nLanguage == 1 ? group.korean : group.english, kGroupImage, kGroupImage, TVI_ROOT, TVI_LAST);
        for (const char* entry : group.entries)
            m_categoryTree.InsertItem(
                EntryText(entry, m_nLanguage), kEntryImage, kEntryImage, parent, TVI_LAST);
        if (m_nAdminFlag)
            for (const char* entry : group.adminEntries)
                m_categoryTree.InsertItem(
                    EntryText(entry, m_nLanguage), kEntryImage, kEntryImage, parent, TVI_LAST);
    }
    Invalidate(TRUE);
}

void CCalvornView::WriteNavigation(std::optional<DbRequest> query)
{
    m_mailbox.PutQuery(query, m_strUserId);
}

void CCalvornView::LogIn(const CString& userId, const CString& cornerCode)
{
    m_strUserId = userId;
    m_strCornerCode = cornerCode;
    m_nLoggedIn = 1;
    m_nAdminFlag = m_strUserId == kAdministratorId ? 1 : 0;
}

BOOL CCalvornView::IsManagerWorkerIdle() const
{
    return !m_pManagerWorker->IsDatabaseOpen() && !m_pManagerWorker->IsRequestInFlight() ? TRUE : FALSE;
}

void CCalvornView::TakeNavigation(CString& query, CString& user)
{
    const CMailboxDlg::Query taken = m_mailbox.TakeQuery();
    query = taken.name;
    user = taken.user;
}

CString CCalvornView::TakeUserWord()
{
    return m_mailbox.TakeQueryUser();
}

void CCalvornView::ServerStarted(const CString& database, const CString& logPath)
{
    m_nServerRunning = 1;
    m_nServerFlag = 1;
    m_strServerFilePath = database;
    m_strServerLogPath = logPath;
}

void CCalvornView::ServerStopped()
{
    m_nServerRunning = 0;
    m_nServerFlag = 0;
}

void CCalvornView::SendHint(Screen screen)
{
    SendHint(screen, &m_strItemDbPath);
}

void CCalvornView::SendHint(Screen screen, CString* text)
{
    if (CDocument* document = m_pDocument)
        document->UpdateAllViews(this, HintOf(screen), text);
}

void CCalvornView::OnCategorySelChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const auto* notify = reinterpret_cast<const NMTREEVIEW*>(header);
    const CString text = m_categoryTree.GetItemText(notify->itemNew.hItem);
    const ScreenInfo* screen = FindTreeScreen(text.View(), m_nLanguage);
    if (!screen)
        return;
    m_query = screen->query;
    WriteNavigation(screen->query);
    if (screen->screen == Screen::Item)
        m_nStateFlags[0] = 1;
    SendHint(screen->screen);
}

void CCalvornView::OnLoginButton()
{
    m_pManager->Login();
}

LRESULT CCalvornView::OnManagerRow(WPARAM, LPARAM)
{
    m_reply = m_pManagerWorker->TakeReplyName().request;
    const CString row = m_pManagerWorker->TakeReplyRow();
    if (m_reply == DbRequest::ManagerLogin) {
        m_mailbox.PutQuery(std::nullopt, m_strUserId);
        SendHint(Screen::LoggedIn);
        m_pManager->OnLoginReply(row);
    }
    return 1;
}

LRESULT CCalvornView::OnManagerNoRow(WPARAM, LPARAM)
{
    m_reply = m_pManagerWorker->TakeReplyName().request;
    if (m_reply == DbRequest::ManagerLogin) {
        m_nAdminFlag = 0;
        m_strUserId.Empty();
        m_strPassword.Empty();
        m_strCornerCode.Empty();
        m_strCornerText.Empty();
        AfxMessageBox(m_nLanguage == 1 ? "로그인이 실패하였습니다." : "Log-in Failed.");
        m_pManagerWorker->Acknowledge();
    }
    return 1;
}

LRESULT CCalvornView::OnManagerReport(WPARAM, LPARAM)
{
    m_pManagerWorker->CloseDatabase();
    m_reply = m_pManagerWorker->TakeReplyName().request;
    if (m_reply == DbRequest::ManagerLogin) {
        m_pManagerWorker->Acknowledge();
        Invalidate(TRUE);
        if (!m_strUserId.IsEmpty())
            static_cast<void>(OpenItemDatabase());
    }
    return 1;
}

LRESULT CCalvornView::OnManagerRefresh(WPARAM, LPARAM)
{
    CString empty;
    SendHint(Screen::Refresh, &empty);
    return 1;
}

BOOL CCalvornView::RunItemDatabaseDialog(
    BOOL open, const char* englishTitle, const char* koreanTitle, const char* extension, CString& path)
{
    CFileDialog dialog(open, extension, nullptr, OFN_HIDEREADONLY, kItemDatabaseFilter, nullptr);
    dialog.m_ofn.lpstrTitle = m_nLanguage == 1 ? koreanTitle : englishTitle;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    path = dialog.GetPathName();
    return TRUE;
}

CCalvornView::OpenEnd CCalvornView::OpenItemDatabase()
{
    CString path;
    if (!RunItemDatabaseDialog(TRUE, "ItemDB File Open", "상품DB 파일 불러오기", nullptr, path))
        return OpenEnd::Cancelled;
    m_nStateFlags[4] = 1;
    // A file that is no item database is told and not taken: the open one stays current.
    if (!CheckItemDatabaseAt(path))
        return OpenEnd::Refused;
    m_strItemDbPath = path;
    m_categoryTree.DeleteAllItems();
    FillCategoryTree();
    return OpenEnd::Taken;
}

BOOL CCalvornView::CheckItemDatabaseAt(const CString& path)
{
    try {
        m_pManagerWorker->OpenDatabase(path);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    const int probed = m_pManagerWorker->ProbeQuery(kItemDatabaseProbe);
    m_pManagerWorker->CloseDatabase();
    return probed == 1 ? TRUE : FALSE;
}

BOOL CCalvornView::CopyDatabaseFile(const CString& source, const CString& destination)
{
    // The open store under another spelling of its name: it is the copy.
    if (IsSameFile(source, destination))
        return TRUE;
    try {
        CDaoDatabase::CopyDatabase(source, destination, kStoreDatabaseConnect);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        CString text;
        text.Format(kCopyNotMade, e->GetErrorText().GetString(), destination.GetString());
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    return TRUE;
}

void CCalvornView::OnFileOpen()
{
    if (m_strUserId.IsEmpty())
        return;
    // A refused open leaves the work screen as it is.
    if (OpenItemDatabase() != OpenEnd::Refused)
        SendHint(Screen::DatabaseChanged);
}

void CCalvornView::OnFileSaveAs()
{
    CString path;
    if (!RunItemDatabaseDialog(FALSE, "ItemDB File Save As", "상품DB 파일 다른이름으로 저장", "mdb", path))
        return;
    if (!IsSameFile(path, m_strItemDbPath) && !ConfirmFileWrite(path))
        return;
    m_nStateFlags[4] = 1;
    if (!CopyDatabaseFile(m_strItemDbPath, path))
        return;
    m_strItemDbPath = path;
    SendHint(Screen::DatabaseChanged);
}

void CCalvornView::OnFileNew()
{
    CString path;
    if (!RunItemDatabaseDialog(TRUE, "New ItemDB File", "새로운 상품DB 파일 이름", "mdb", path))
        return;
    if (!ConfirmFileWrite(path))
        return;
    m_nStateFlags[4] = 1;
    if (!WriteResourceFile(kItemTemplateId, path))
        return;
    m_strItemDbPath = path;
    SendHint(Screen::DatabaseChanged);
    m_categoryTree.DeleteAllItems();
    FillCategoryTree();
}

void CCalvornView::OnAccessToExcel()
{
    AccessToExcelConvert(*this);
}

void CCalvornView::OnExcelNewFile()
{
    ExcelNewFile();
}

void CCalvornView::OnExcelToAccess()
{
    ExcelToAccessConvert(*this);
}

void CCalvornView::OnUserInfoChange()
{
    m_pManager->ChangeManagerInfo();
}

void CCalvornView::OnNewManager()
{
    m_pManager->AddManager();
}

void CCalvornView::OnCommSetup()
{
    WriteNavigation(InfoOf(Screen::CommMode).query);
    SendHint(Screen::CommMode);
}

void CCalvornView::OnUpdateCommSetup(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_nLoggedIn ? TRUE : FALSE);
    WriteNavigation(std::nullopt);
    SendHint(m_nLoggedIn ? Screen::LoggedIn : Screen::LoggedOut);
}

void CCalvornView::OnUpdateNeedsLogin(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_nLoggedIn ? TRUE : FALSE);
}

void CCalvornView::OnUpdateNeedsItemDatabase(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_nLoggedIn && !m_strItemDbPath.IsEmpty() ? TRUE : FALSE);
}

void CCalvornView::OnUpdateNeedsAdministrator(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_nAdminFlag ? TRUE : FALSE);
}

void CCalvornView::OnUpdateServer(CCmdUI* cmdUI)
{
    cmdUI->Enable(FALSE);
}

void CCalvornView::OnServerCommand(UINT id)
{
    if (ServerCommandHandler handler = GetServerCommandHandler(id))
        handler(*this);
}

void CCalvornView::OnDefaultValueSetup()
{
    auto* dialog = new CDefaultValueDlg(nullptr);
    dialog->m_strUserId = m_strUserId;
    if (dialog->DoModal() == IDOK && m_query == InfoOf(Screen::Item).query) {
        WriteNavigation(InfoOf(Screen::Item).query);
        SendHint(Screen::Item);
    }
    delete dialog;
}

namespace {

// The work screen's item worker, or nullptr.
CItemDbWorker* ItemWorker()
{
    CMainFrame* frame = GetMainFrame();
    CRightCotainerView* right = frame ? frame->GetRightContainerView() : nullptr;
    CWorkScreen* screen = right ? right->GetWorkScreen() : nullptr;
    return screen ? screen->GetItemWorker() : nullptr;
}

// TRUE (after saying so) while the worker serves a request of the work
// screen: its database and mailbox are in use, and waiting here would block
// the rows it sends to this thread.
BOOL RefuseBusyWorker(CItemDbWorker* worker)
{
    if (!worker || !worker->IsRequestInFlight())
        return FALSE;
    AfxMessageBox(kWorkerBusyText, MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
}

} // namespace

void CCalvornView::OnItemInfoChange()
{
    if (RefuseBusyWorker(ItemWorker()))
        return;
    auto* dialog = new CDefaultValueDlg(nullptr);
    dialog->m_strUserId = m_strUserId;
    dialog->m_nMode = CDefaultValueDlg::kModeInformationChange;
    if (dialog->DoModal() == IDOK) {
        ReadTotalValueFile();
        const CString setList = BuildInfoChangeSetList();
        CItemDbWorker* worker = ItemWorker();
        if (!setList.IsEmpty() && worker && !RefuseBusyWorker(worker)) {
            CString sql;
            sql.Format("UPDATE [Item] SET %s WHERE [mg_id] = %s", setList.GetString(),
                SqlLiteral(m_strUserId).GetString());
            try {
                worker->OpenDatabase(m_strItemDbPath);
                worker->Execute(sql);
            } catch (CException* e) {
                ExceptionPtr hold(e);
                AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
            }
            worker->CloseDatabase();
        }
        if (m_query == InfoOf(Screen::Item).query) {
            WriteNavigation(InfoOf(Screen::Item).query);
            SendHint(Screen::Item);
        }
    }
    delete dialog;
}

void CCalvornView::ReadTotalValueFile()
{
    m_infoTexts.assign(kInfoTextCount, kEmptySlot);
    MakeDirectoryPath(kSettingsFolder);
    const ItemSettingValues values = ReadItemSettingValues(ManagerSettingsPath(kTotalValueFile, m_strUserId));
    for (std::size_t slot = 0; slot < values.size() && slot < kInfoChangeSlots; ++slot) {
        if (!values[slot])
            continue;
        m_infoTexts[2 * slot] = kItemValueColumns[slot];
        m_infoTexts[2 * slot + 1] = *values[slot];
    }
}

CString CCalvornView::BuildInfoChangeSetList() const
{
    CString list;
    for (std::size_t slot = 0; slot < kInfoChangeSlots && 2 * slot + 1 < m_infoTexts.size(); ++slot) {
        const CString& column = m_infoTexts[2 * slot];
        if (column.IsEmpty() || column == kEmptySlot)
            continue;
        if (!list.IsEmpty())
            list += " , ";
        list += SqlName(column) + " = " + SqlLiteral(m_infoTexts[2 * slot + 1]);
    }
    return list;
}
