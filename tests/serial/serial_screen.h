#pragma once
// A stand-in for the work screen around CSerialTransfer: a hidden window that
// forwards timer 150 and the messages 1224-1227, a mailbox of seven texts, a
// grid of texts, pick state, preset keys, request numbers, received-data
// databases written from the item template, and the transfer buttons' states.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/wnd/core/wnd.h"
#include "serial/scale_link.h"
#include "serial/serial_host.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_transfer.h"
#include "tests/support/temp_folder.h"

class SerialScreen : public CWnd, public CSerialHost {
public:
    SerialScreen();
    ~SerialScreen() override;

    const MessageMap* GetMessageMap() const override;

    CSerialTransfer& Transfer() { return *m_transfer; }
    CSerialTransEngine& Engine() { return m_transfer->GetEngine(); }
    CScaleLink& Link() { return m_transfer->GetLink(); }
    // Starts order as the work screen does: with the rows it sends, taken now.
    void StartWalk(TransferOrder order);

    // CSerialHost
    HWND GetTransferWindow() override { return GetSafeHwnd(); }
    int GetGridRowCount() override { return static_cast<int>(m_grid.size()); }
    CString GetGridItemText(int row, int column) override;
    int GetCurrentGridRow() override { return m_currentRow; }
    GridPicks GetTransferSelection() override { return m_pick; }
    int GetPresetPage() override { return m_presetPage; }
    std::vector<CString> GetPresetKeyTexts() override;
    int GetPresetReadPage() override { return m_presetReadPage; }
    CString GetUserId() override { return m_userId; }
    CString GetItemDbPath() override { return m_itemDbPath; }
    int LoadDefaultValues() override { return m_defaultValues; }
    // Counted as the work screen counts them, so that an end told twice shows.
    void SetTransferActive(int active) override
    {
        m_transferActive += active ? 1 : -1;
        m_activeRaised += active ? 1 : 0;
    }
    void NoteReceivedRecord(const CString& request, const CString& sql) override;
    void ShowTransferProgress(const CString& text) override { m_progress = text; }
    CString GetSerialText(int id) override;
    void SetSerialText(int id, const CString& text) override;
    int GetGridColumnCount() override { return m_columns; }
    std::vector<int> GetRequestNumbers() override { return m_requestNumbers; }
    void FlashSendLamp() override { ++m_sendFlashes; }
    void FlashRecvLamp() override { ++m_recvFlashes; }
    CString MakeReceivedDataPath(const CString& scaleId) override;
    BOOL MakeReceivedDatabase(const CString& path) override;
    void EnableItemTransButtons(BOOL enable) override { m_itemButtons = enable; }
    void EnableScaleTransButtons(BOOL enable) override { m_scaleButtons = enable; }
    void EnableTransStopButton(BOOL enable) override { m_stopButton = enable; }

    // A grid of heading row, the data rows given (columns from 1) and the last,
    // empty row; columns = widest row + 1.
    void SetDataRows(const std::vector<std::vector<std::string>>& rows);

    std::map<int, CString> m_mailbox;
    std::vector<std::vector<std::string>> m_grid;
    int m_columns = 0;
    int m_currentRow = 1;
    GridPicks m_pick;
    int m_presetPage = 1;
    std::vector<std::string> m_presetKeys;
    int m_presetReadPage = 0;
    int m_defaultValues = 0;
    std::vector<std::pair<std::string, std::string>> m_notes; // request word, statement
    std::vector<int> m_requestNumbers;
    CString m_progress;
    int m_sendFlashes = 0;
    int m_recvFlashes = 0;
    CString m_userId = "kim";
    CString m_itemDbPath;
    int m_transferActive = 0;
    int m_activeRaised = 0; // times the flag was set
    BOOL m_itemButtons = TRUE;
    BOOL m_scaleButtons = TRUE;
    BOOL m_stopButton = FALSE;
    TempFolder m_folder;
    // The databases handed out, in order, by scale ID; each made as its first
    // record comes.
    std::vector<std::pair<std::string, std::string>> m_receivedPaths;

protected:
    void OnTimer(UINT_PTR id);
    LRESULT OnPortOpened(WPARAM, LPARAM);
    LRESULT OnPortOpenFailed(WPARAM, LPARAM);
    LRESULT OnSessionEnd(WPARAM, LPARAM);

private:
    std::unique_ptr<CSerialTransfer> m_transfer;
};
