#pragma once
// The whole main window with the real work screen on a private data root,
// and helpers that fill an item database, switch screens through the left
// pane and wait for the item worker's load to end. The screen's Context()
// serves only what no door shows or sets (each use says which): a load's
// update lock, the item worker's mailbox, the screen's number, manager and
// paths, the panels' switches, a grid of chosen columns.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/caption_panel.h"
#include "db/general_dao_helper.h"
#include "platform/wnd/dialogs/filedialog.h"
#include "platform/wnd/dialogs/modal_script.h"
#include "screens/kind_of_view.h"
#include "screens/transfer_glue.h"
#include "screens/transfer_port.h"
#include "shell/calvorn_app.h"
#include "shell/calvorn_view.h"
#include "shell/main_frame.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"

// Records the orders the transfer commands hand over, by their link.
class RecordingTransferPort : public CTransferPort {
public:
    virtual ~RecordingTransferPort() = default;
    BOOL CheckOrder(const TransferOrder&) override { return TRUE; }
    void StartOrder(const TransferOrder& order) override
    {
        (order.link == TransferLink::Serial ? m_serial : m_ethernet).push_back(order);
    }
    void StopTransfer() override { ++m_stops; }
    // The list lines of order's scales.
    static std::vector<CString> Lines(const TransferOrder& order)
    {
        std::vector<CString> lines;
        for (const OrderScale& scale : order.scales)
            lines.push_back(scale.line);
        return lines;
    }
    std::vector<TransferOrder> m_ethernet;
    std::vector<TransferOrder> m_serial;
    int m_stops = 0;
};

class WorkScreenFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CCalvornView* LeftPane() const { return GetMainFrame()->GetCalvornView(); }
    CGridCtrl& Grid() const { return m_screen->GetGrid(); }

    // Fixes the clock at a local time; the test's TearDown gives it back.
    static void SetLocalClock(int year, int month, int day, int hour, int minute);
    // A fresh item database from template 150 under the data root.
    CString MakeItemDatabase(const char* name = "C:\\items.mdb");
    // Runs statements on the item database (each one must succeed).
    void Execute(const CString& path, const std::vector<CString>& sql);
    // The first row of sql's result as DbReplyRow text ("FALSE" for none).
    CString FirstRow(const CString& path, const CString& sql);
    // Every value of one column of sql, row by row.
    std::vector<CString> Column(const CString& path, const CString& sql);

    // The left pane's choice: query word and user id into its mailbox, then
    // the hint with the database path; waits for the load to end.
    void Switch(Screen screen, const char* query, const char* userId, const CString& path);
    // Waits until the update lock is clear and the worker has answered.
    bool WaitForLoad();
    // The update lock that drops the left pane's choices (no control shows it).
    bool Locked() const;
    // The left pane's end of a log-in: userId its manager, then hint 8.
    void LogIn(const char* userId);
    // A click on the main toolbar's button of command id, after the idle
    // update that enables it by the command route.
    void ClickToolbar(UINT id);
    // Ends an in-place edit of cell (row, column) with text, as typing does.
    void EditCell(int row, int column, const CString& text);
    // A mouse click on the centre of grid cell (row, column) with keys held,
    // and on the screen's control id where it stands (see ClickButton).
    void ClickCell(int row, int column, UINT keys = 0);
    // A press on row fromRow and a release on row toRow, in one column.
    void DragCells(int fromRow, int toRow, int column = 2);
    void ClickControl(int id);
    // The text of the caption panel (200) over the grid.
    CString Caption() const;
    // The first grid column from start on headed heading; -1 when none.
    int ColumnOf(const char* heading, int start = 0) const;
    // Texts of one grid row from column 1 on (to the last column).
    std::vector<CString> RowTexts(int row) const;
    // True when control id has WS_VISIBLE itself.
    bool Visible(int id) const;
    bool Enabled(int id) const;
    // Chooses COM port (1-8) in the communication dialog's port box.
    void ChooseComPort(int port);

    TempDataRoot m_root;
    ScopedMessageBoxScript m_boxes;
    std::unique_ptr<CCalvornApp> m_app;
    CKindOfView* m_screen = nullptr;
    RecordingTransferPort m_port;
};
