#pragma once
// CCalvornView: the narrow left pane of the main frame. It shows the caption
// bar, the Log-in button and the category tree; keeps the log-in state of
// the one manager who works with the program; owns the manager database
// worker, its mailbox and the manager log-in object; handles the program's
// menu commands (the work screens forward theirs here); and turns a tree
// choice into a view hint with its query name (screen_table.h). Its first
// update provisions the data folder and databases and logs the administrator
// in. UI thread.

#include <memory>
#include <vector>

#include "controls/caption_panel.h"
#include "controls/icon_button.h"
#include "db/mailbox_dlg.h"
#include "db/store_paths.h"
#include "platform/gdi/image_list.h"
#include "platform/wnd/controls/treectrl.h"
#include "platform/wnd/docview/view.h"
#include "resources/calvorn_ids.h"
#include "shell/result_server_port.h"
#include "shell/screen_table.h"

class CCalvornDoc;
class CCmdUI;
class CManagerClass;
class CManagerDbWorker;

// Files of the data folder and the sample database.
inline constexpr const char* kSampleFolderNt
    = "C:\\Documents and Settings\\All Users\\Desktop\\ScaleSampleDB";
inline constexpr const char* kSampleDatabaseNt
    = "C:\\Documents and Settings\\All Users\\Desktop\\ScaleSampleDB\\Sample.mdb";
inline constexpr const char* kSampleFolder9x = "C:\\Windows\\Desktop\\ScaleSampleDB";
inline constexpr const char* kSampleDatabase9x = "C:\\Windows\\Desktop\\ScaleSampleDB\\KSample.mdb";

// Embedded database templates.
inline constexpr UINT kItemTemplateId = 150;
inline constexpr UINT kManagerTemplateId = 152;
inline constexpr UINT kScaleInfoTemplateId = 208;
inline constexpr UINT kReservationTemplateId = 220;

class CCalvornView : public CView, public CResultServerHost {
public:
    // Builds the log-in object, starts the manager worker (owner: this pane)
    // and creates the hidden mailbox; language index 2.
    CCalvornView();
    // Deletes the worker, then the log-in object, then writes the server's
    // stop line to its log when the server ran.
    ~CCalvornView() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    CCalvornDoc* GetDocument() const;

    // Provisioning, the empty category tree and the automatic log-in.
    void OnInitialUpdate() override;

    // Probes the given item database; FALSE when it is none.
    BOOL CheckItemDatabaseAt(const CString& path);

    // UpdateAllViews with this pane as sender, the screen's hint and the item
    // database path (or the given text).
    void SendHint(Screen screen);
    void SendHint(Screen screen, CString* text);

    // The manager logged in (empty when none), whether one is, whether it is
    // the administrator, and the manager's corner code.
    const CString& UserId() const override { return m_strUserId; }
    BOOL IsLoggedIn() const { return m_nLoggedIn != 0; }
    BOOL IsAdministrator() const { return m_nAdminFlag != 0; }
    const CString& CornerCode() const { return m_strCornerCode; }
    // Records userId as logged in with its corner code; the administrator
    // flag follows the id.
    void LogIn(const CString& userId, const CString& cornerCode);
    // The current item database (empty when none is open).
    const CString& ItemDatabasePath() const { return m_strItemDbPath; }

    // TRUE when the manager worker has no request in flight and its database
    // is closed.
    BOOL IsManagerWorkerIdle() const;
    // The mailbox shared with the manager worker and the work screens.
    CMailboxDlg& Mailbox() { return m_mailbox; }
    // Moves the navigation words (query name and user id) out of the
    // mailbox, leaving it empty.
    void TakeNavigation(CString& query, CString& user);
    // Moves only the user id out of the mailbox; the query name stays.
    CString TakeUserWord();

    // The results server started with its database and log paths (server
    // mode on), or stopped (the paths stay).
    void ServerStarted(const CString& database, const CString& logPath) override;
    void ServerStopped() override;
    BOOL IsServerMode() const { return m_nServerFlag != 0; }
    const CString& ServerDatabasePath() const { return m_strServerFilePath; }

    // Fills the 50 Information Change pairs (m_infoTexts: column name at 2i,
    // value at 2i + 1; "-1" for an empty slot) from Total_Value_<id>.bin.
    void ReadTotalValueFile();
    // The SET list of the filled pairs in slot order, values quoted; empty
    // when no pair is filled.
    CString BuildInfoChangeSetList() const;

protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnSize(UINT type, int cx, int cy);
    void OnTimer(UINT_PTR id);
    void OnCategorySelChanged(NMHDR* header, LRESULT* result);
    void OnLoginButton();
    LRESULT OnManagerRow(WPARAM wParam, LPARAM lParam);
    LRESULT OnManagerNoRow(WPARAM wParam, LPARAM lParam);
    LRESULT OnManagerReport(WPARAM wParam, LPARAM lParam);
    LRESULT OnManagerRefresh(WPARAM wParam, LPARAM lParam);

    void OnFileNew();
    void OnFileOpen();
    void OnFileSaveAs();
    void OnAccessToExcel();
    void OnExcelNewFile();
    void OnExcelToAccess();
    void OnUserInfoChange();
    void OnNewManager();
    void OnCommSetup();
    void OnUpdateCommSetup(CCmdUI* cmdUI);
    void OnUpdateNeedsLogin(CCmdUI* cmdUI);
    void OnUpdateNeedsItemDatabase(CCmdUI* cmdUI);
    void OnUpdateNeedsAdministrator(CCmdUI* cmdUI);
    void OnUpdateServer(CCmdUI* cmdUI);
    void OnServerCommand(UINT id);
    void OnDefaultValueSetup();
    void OnItemInfoChange();

private:
    // The log-in object keeps the log-in state and drives the caption, the
    // button and the tree.
    friend class CManagerClass;

    void OnDraw(CDC* dc) override;
    // The category tree (style 0x50000022, id 204) with bitmap 184's images.
    void CreateCategoryTree();
    // Fills the (emptied) tree: three groups and their entries; the
    // administrator also gets "Scale Info2" and "Scale Reg".
    void FillCategoryTree();
    // Runs the open dialog; a choice that is an item database becomes the
    // current one and the tree is rebuilt. Refused: a file that is none (told).
    enum class OpenEnd { Taken, Cancelled, Refused };
    [[nodiscard]] OpenEnd OpenItemDatabase();
    // Copies source to destination byte for byte; FALSE when either fails
    // (an existing destination is then left as it was).
    BOOL CopyDatabaseFile(const CString& source, const CString& destination);
    // Writes the navigation words into the mailbox.
    void WriteNavigation(std::optional<DbRequest> query);
    void ProvisionDataFiles();
    void WriteSampleDatabase();
    void LogInAdministrator();
    // extension (or nullptr) is added to a name typed without one.
    BOOL RunItemDatabaseDialog(
        BOOL open, const char* englishTitle, const char* koreanTitle, const char* extension, CString& path);

    // Child windows, log-in state (kept by the log-in object) and the
    // worker's mailbox.
    CCaptionPanel m_captionPanel;
    CString m_strCaption;
    CIconButton m_loginButton;
    CManagerClass* m_pManager = nullptr;
    CManagerDbWorker* m_pManagerWorker = nullptr;
    CTreeCtrl m_categoryTree;
    CImageList m_treeImages;
    int m_nAdminFlag = 0;
    CString m_strCornerCode;
    CString m_strCornerText;
    CString m_strUserId;
    CString m_strPassword;
    std::optional<DbRequest> m_reply; // the request of the last reply message
    int m_nLoggedIn = 0;
    CMailboxDlg m_mailbox;
    // Written and cleared, read by nothing: [0] "Item" chosen, [4] an item
    // database opened, created or saved under a new name.
    int m_nStateFlags[5] = {};
    CString m_strItemDbPath;
    int m_nLanguage = 2;
    // Results-server state, set by the server (result_server_port.h): running
    // flag, server mode (set while it runs; the work screen shows its
    // Synchronization buttons then), its database and log paths, and the
    // keep-alive flag that nothing sets.
    int m_nServerRunning = 0;
    int m_nServerFlag = 0;
    int m_nKeepAliveFlag = 0;
    CString m_strServerFilePath;
    CString m_strServerLogPath;
    std::unique_ptr<CResultServerPort> m_pResultServer;
    std::vector<CString> m_serverTexts;
    std::vector<CString> m_infoTexts;
    std::optional<DbRequest> m_query;
};
