#pragma once
// A work screen stand-in for the TCP transfer jobs: a window that routes
// message 1324 and the reply timers to its CTransferJobs, a grid of texts, and
// records of what the jobs tell it. Header-only: users link the ethernet
// library.

#include <memory>
#include <vector>

#include "ethernet/transfer_jobs.h"
#include "platform/wnd/core/wnd.h"
#include "transfer/transfer_order.h"

// A scale of an order, by its address (and name, and the database its reads
// go into).
inline OrderScale ScaleAt(const CString& address, const CString& name = {}, const CString& database = {})
{
    OrderScale scale;
    scale.address = address;
    scale.name = name;
    scale.database = database;
    return scale;
}

class FakeTransferHost : public CWnd, public CTransferHost {
public:
    explicit FakeTransferHost(TransferTimings timings = {})
    {
        CreateEx(0, nullptr, "transfer host", WS_POPUP, 0, 0, 10, 10, nullptr, 0);
        jobs = std::make_unique<CTransferJobs>(*this, timings);
    }
    ~FakeTransferHost() override
    {
        jobs.reset();
        DestroyWindow();
    }

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnMessage<&FakeTransferHost::OnSocketData>(WM_TRANS_SOCKET_DATA),
                OnMessage<&FakeTransferHost::OnResultStepDone>(WM_RESULT_STEP_DONE),
                OnWm<WM_TIMER, &FakeTransferHost::OnTimer>(),
            });
        return &kMap;
    }

    // The grid: heading row, the given data rows (column 0 is the heading),
    // and the trailing row.
    void SetRows(const std::vector<std::vector<CString>>& dataRows)
    {
        rows.assign(1, std::vector<CString> {});
        rows.insert(rows.end(), dataRows.begin(), dataRows.end());
        rows.emplace_back();
    }

    // Starts order as the work screen does: with the rows it sends, taken now.
    BOOL StartJobs(TransferOrder order)
    {
        order.rows = TakeOrderRows(*this, order, 0);
        return jobs->Start(order);
    }

    // CTransferHost
    HWND GetTransferWindow() override { return GetSafeHwnd(); }
    int GetGridRowCount() override { return static_cast<int>(rows.size()); }
    CString GetGridItemText(int row, int column) override
    {
        ++cellReads;
        if (row < 0 || row >= static_cast<int>(rows.size()))
            return CString();
        const auto& cells = rows[static_cast<std::size_t>(row)];
        return column >= 0 && column < static_cast<int>(cells.size())
            ? cells[static_cast<std::size_t>(column)]
            : CString();
    }
    int GetCurrentGridRow() override { return currentRow; }
    GridPicks GetTransferSelection() override { return selection; }
    int GetPresetPage() override { return presetPage; }
    std::vector<CString> GetPresetKeyTexts() override { return presetKeys; }
    int GetPresetReadPage() override { return presetReadPage; }
    CString GetUserId() override { return userId; }
    CString GetItemDbPath() override { return itemDbPath; }
    int LoadDefaultValues() override { return defaultValues; }
    int GetEthernetStop() override { return ethernetStop; }
    void SetEthernetStop(int stop) override { ethernetStop = stop; }
    void SetTransferActive(int active) override { activeChanges.push_back(active); }
    void NoteReceivedRecord(const CString& request, const CString& sql) override
    {
        noteRequest = request;
        noteSql = sql;
    }
    void ShowTransferProgress(const CString& text) override { progress = text; }

    std::unique_ptr<CTransferJobs> jobs;
    std::vector<std::vector<CString>> rows { {}, {} };
    int currentRow = 1;
    GridPicks selection;
    int presetPage = 1;
    std::vector<CString> presetKeys;
    int presetReadPage = 1;
    CString userId = "kim";
    CString itemDbPath;
    int defaultValues = 0;
    int ethernetStop = 0;
    std::vector<int> activeChanges;
    CString noteRequest;
    CString noteSql;
    CString progress;
    int resultStepsDone = 0;
    std::vector<UINT> timerIds; // every reply timer that fired
    long cellReads = 0;

private:
    LRESULT OnSocketData(WPARAM token, LPARAM)
    {
        jobs->OnSocketData(token);
        return 1;
    }
    LRESULT OnResultStepDone(WPARAM, LPARAM)
    {
        ++resultStepsDone;
        return 1;
    }
    void OnTimer(UINT_PTR id)
    {
        timerIds.push_back(static_cast<UINT>(id));
        jobs->OnTimer(static_cast<UINT>(id));
    }
};
