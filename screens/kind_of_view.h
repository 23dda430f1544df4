#pragma once
// CKindOfView: the work screen in the upper right pane, the form view of
// template 130. It holds grid 1005, the item database worker with its
// mailbox (132), the table bridge, the preset note and the Print button
// (57607), and the parts that own the rest of the screen (each part's header
// says what it owns). The left pane's hints 1-19 switch it from one screen
// to the next (OnUpdate, through CScreenSwitch). Everything runs on the UI
// thread except the worker, which talks to it through the mailbox and
// SendMessage.
//
// What the parts see of the screen: four narrow interfaces; CKindOfView
// implements three privately through the aggregate CWorkScreenContext
// (screens/work_screen_context.h; Context(), the tests use it), its layout
// the fourth (Panels()):
// - CWorkScreenState: the form, language, kind word, hint, the data kinds
//   parsed from them, user, update lock and the load starter;
// - CWorkScreenGrid: the grid and its rebuild (CTableLoad's, between the
//   form's data exchanges);
// - CWorkScreenPanels: the panels' button groups (CWorkScreenLayout);
// - CWorkScreenDatabase: the item worker, mailbox 132, the table bridge, the
//   busy check and the item and server database paths.
// Each part takes only the interfaces it uses (S state, G grid, P panels,
// D database). The arrows go from the screen to its parts and from each part
// to those interfaces, never back to CKindOfView; no part's file includes
// this header. A part that needs what another part owns takes that part. The
// cell routines the parts share (column search, locked cells, added columns)
// are free functions on the grid (screens/grid_cells.h).
// The parts, each in the header named after it:
// - CScaleScreens (S G D; scale_screens.h), CScaleSettingsScreens (S G D;
//   scale_settings_screens.h), CReservations (S G D; reservations.h),
//   CTransferGlue (S G P D; transfer_glue.h), CResultScreens (S G D;
//   result_screens.h), CScreenSwitch (S G D; screen_switch.h),
//   CWorkScreenLayout (S G D; work_screen_layout.h), CGridRows (S G P D;
//   grid_rows.h, grid_rows_fill.cpp), CItemDefaults (S; item_defaults.h),
//   CPresetKeys (S D; preset_keys.h), CPresetSheetPrint
//   (preset_sheet_print.h), CTableLoad (S G D; table_load.h), CCellEditor
//   (S G D; cell_editor.h), CUsersScreen (S D; users_screen.h),
//   CUserLabelScreen (S G D; user_label_screen.h), CTableBridge (S G D;
//   table_bridge.h), CServerSyncCommands (S G P D; server_sync_commands.h).
// A part with its own commands or messages is a command target, offered them
// before the view's map (m_parts); printing is the view's
// (kind_of_view_parts.cpp), the busy check and the grid's rebuild too
// (kind_of_view_query.cpp).
// Other subsystems go through operations: Context(), GetGrid(), the parts'
// accessors, and the shell's and transports' interfaces.

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "controls/status_lamp.h"
#include "controls/xp_button.h"
#include "db/db_request_worker.h"
#include "db/mailbox_dlg.h"
#include "ethernet/reservation_host.h"
#include "ethernet/transfer_host.h"
#include "grid/grid_ctrl.h"
#include "platform/gdi/font.h"
#include "platform/gdi/image_list.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/controls/listbox.h"
#include "platform/wnd/controls/listctrl.h"
#include "platform/wnd/controls/static.h"
#include "platform/wnd/core/command_parts.h"
#include "platform/wnd/docview/formview.h"
#include "resources/calvorn_ids.h"
#include "screens/cell_editor.h"
#include "screens/grid_rows.h"
#include "screens/item_defaults.h"
#include "screens/preset_keys.h"
#include "screens/preset_sheet_print.h"
#include "screens/scale_screens.h"
#include "screens/scale_settings_screens.h"
#include "screens/screen_switch.h"
#include "screens/server_sync_commands.h"
#include "screens/table_bridge.h"
#include "screens/table_load.h"
#include "screens/transfer_ports.h"
#include "screens/users_screen.h"
#include "screens/work_screen_context.h"
#include "screens/work_screen_layout.h"
#include "serial/kind_mailbox_dlg.h"
#include "serial/serial_host.h"
#include "shell/message_dlg.h"
#include "shell/screen_table.h"
#include "shell/work_screen.h"

class CItemDbWorker;
class CPrintInfo;
class CReservations;
class CResultScreens;
class CTransferGlue;
class CUserLabelScreen;

class CKindOfView : public CFormView,
                    public CWorkScreen,
                    public CInsertReadTarget,
                    private CWorkScreenContext {
public:
    CKindOfView();
    ~CKindOfView() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    void OnInitialUpdate() override;
    // The screen switch (hints 1-19; the lock drops a hint while a load runs).
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    // Commands of the left pane go there; the work screen's own go to the
    // part that owns them (m_parts), then to the view's map.
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

    // What the screen's parts see of it; also the tests' way to the screen's
    // words (kind, hint, user, database), its lock, mailbox and grid routines.
    CWorkScreenContext& Context() { return *this; }
    // The grid 1005 (the user-label designer reads and writes its cells).
    CGridCtrl& GetGrid() { return m_grid; }
    // 1 Korean texts, 2 English, 3 English with the sale columns.
    void SetLanguage(int language);

    // CWorkScreen
    void SetCommSetupFlag(int flag) override { m_nLoggedIn = flag; }
    int GetCommSetupFlag() const override { return m_nLoggedIn; }
    CItemDbWorker* GetItemWorker() override { return m_pItemWorker; }
    int GetTransferActive() const override;
    void LoadStoreAgain() override;

    // The parts other subsystems and the tests reach.
    // The preset key page (filled and read by the table bridge).
    CPresetKeys& GetPresetKeys() { return m_presetKeys; }
    // The manager's item default values (read by the table bridge).
    CItemDefaults& GetItemDefaults() { return m_defaults; }
    // The rows part: Insert, Delete, the column fill and the grid cell
    // clicked last on this screen (GetClickedRow; 0 for none).
    const CGridRows& Rows() const { return m_rows; }
    // The print kind of the current screen (GetPrintKind: "ItemPrint" ...;
    // "" for none) and the preset-key sheet.
    const CPresetSheetPrint& Print() const { return m_print; }
    // The scale screens: communication settings, register, settings screens.
    CScaleScreens& Scales() { return m_scales; }
    // Transfers (screens/transfer_glue.h), reservations (screens/reservations.h)
    // and the sales-total screens (screens/result_screens.h).
    CTransferGlue& Transfers() { return *m_pTransfers; }
    CReservations& Reservations() { return *m_pReservations; }
    CResultScreens& GetResultScreens();
    // The panels' button groups (screens/work_screen_layout.h).
    CWorkScreenPanels& Panels() { return m_layout; }

protected:
    // ---- Framework, screens, panels, grid and handlers (kept off the public
    // face: other subsystems go through the operations above) ----------------

    void DoDataExchange(CDataExchange* dx) override;
    void OnDraw(CDC* dc) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // CInsertReadTarget: the row read back after an insert; field 0 (the ID)
    // goes into the key cell of the current insertion row.
    void SplitItemRowText(CString row) override { m_load.SplitItemRowText(row); }
    void SplitScaleInfoRowText(CString row) override;
    void SplitUserLabelRowText(CString row) override { m_load.SplitUserLabelRowText(row); }

    // ---- Grid: CTableLoad's rebuild between the form's data exchanges ------------
    void RebuildGrid() override;

    // TRUE (after saying so) while the item worker serves a request: its
    // database and the mailbox are in use, and a write or another request now
    // would cut the rows still to come.
    BOOL RefuseWhileBusy() override;

    // ---- Printing: the preset-key sheet (kind_of_view_parts.cpp) -------------------
    void OnFilePrint();
    BOOL OnPreparePrinting(CPrintInfo* info) override;
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
    void OnEndPrinting(CDC* dc, CPrintInfo* info) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;

protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnSize(UINT type, int cx, int cy);

    void OnTimer(UINT_PTR id);

private:
    // Runs start (a load that opens the item database) and, when it throws,
    // reports the error, clears the update lock and enables the buttons.
    BOOL StartLoad(const std::function<void()>& start) override;

    // CWorkScreenState, CWorkScreenGrid, CWorkScreenDatabase (the rest above)
    CWnd& Form() override { return *this; }
    CGridCtrl& Grid() override { return m_grid; }
    CMailboxDlg& DbMailbox() override { return m_mailbox; }
    CItemDbWorker& ItemWorker() override { return *m_pItemWorker; }
    CString Kind() const override { return m_strKind; }
    int Hint() const override { return m_nHint; }
    void SetHint(int hint) override;
    std::optional<DataKind> HintKind() const override { return m_hintKind; }
    CString UserId() const override { return m_strUserId; }
    void SetUserId(const CString& userId) override { m_strUserId = userId; }
    void SetKind(const CString& kind) override;
    std::optional<DataKind> ScreenKind() const override { return m_kind; }
    void SetItemDbPath(const CString& path) override { m_strItemDbPath = path; }
    CString ServerDbPath() const override { return m_strServerDbPath; }
    void SetServerDbPath(const CString& path) override { m_strServerDbPath = path; }
    void SignInAdministrator() override;
    CString ItemDbPath() const override { return m_strItemDbPath; }
    int GetUpdateLock() const override { return m_nUpdateLock; }
    void SetUpdateLock(int lock) override { m_nUpdateLock = lock; }
    CTableBridge& TableBridge() override { return *m_pTableBridge; }
    int Language() const override { return m_nLanguage; }

    // ---- State ----------------------------------------------------------------------
    CGridCtrl m_grid;
    CMailboxDlg m_mailbox; // IDD_MAILBOX
    CTableBridge* m_pTableBridge = nullptr;

    CString m_strUserId;
    CString m_strItemDbPath;
    CString m_strKind;
    std::optional<DataKind> m_kind; // parsed from m_strKind
    CString m_strServerDbPath;
    int m_nHint = 0;
    std::optional<DataKind> m_hintKind; // parsed from m_nHint
    int m_nUpdateLock = 0;
    int m_nLoggedIn = 0;
    int m_nLanguage = 2;
    // Controls of template 130 (bound in DoDataExchange).
    CStatic m_labelPresetNote; // IDC_WORK_PRESET_NOTE
    CXPButton m_btnPrint; // ID_FILE_PRINT

    CItemDbWorker* m_pItemWorker = nullptr;
    std::unique_ptr<CReservations> m_pReservations;
    std::unique_ptr<CTransferGlue> m_pTransfers;
    CScaleScreens m_scales;
    CScaleSettingsScreens m_scaleSettings { *this, *this, *this, m_rows };
    std::unique_ptr<CResultScreens> m_pResults;
    CImageList m_gridImages;
    CPresetKeys m_presetKeys { *this, *this };
    CWorkScreenLayout m_layout { *this, *this, *this, m_presetKeys, m_scales };
    CItemDefaults m_defaults { *this };
    CCellEditor m_editor { *this, *this, *this };
    CGridRows m_rows { *this, *this, m_layout, *this, m_defaults, m_editor };
    CPresetSheetPrint m_print;
    CServerSyncCommands m_sync { *this, *this, m_layout, *this, m_presetKeys, m_defaults };
    CUsersScreen m_users { *this, *this };
    CTableLoad m_load;
    std::unique_ptr<CScreenSwitch> m_pSwitch;
    std::unique_ptr<CUserLabelScreen> m_pUserLabels;
    // The parts offered the screen's commands, notifications and messages
    // before the view's own map.
    CCommandParts m_parts;
};
