#pragma once
// CResultLoop: the exchange of sales totals with every scale of the list over
// TCP, one scale at a time: one transfer job per scale (RECV of the screen's
// request word into the open item database, or TRANS of the clear), the next
// one started only after the current job has ended and no job's message box is
// open. The job's end message (1326) posts the next step; a job that ends
// without one (time-out, stop, hang-up) is noticed after the job's socket or
// timer message has been handled (Poke). Either way each job steps the loop
// exactly once. What the loop sends and where it stores is its order's,
// taken at its start (the rows: the manager its records are stored for).
// UI thread only.

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/core/messages.h"
#include "protocol/data_kinds.h"
#include "transfer/transfer_order.h"

class CTransferJobs;

// Posted to the work screen: the loop's next step.
inline constexpr UINT WM_RESULT_LOOP_NEXT = WM_APP + 0x116;

class CResultLoop {
public:
    CResultLoop(CTransferJobs& jobs, HWND window);
    CResultLoop(const CResultLoop&) = delete;
    CResultLoop& operator=(const CResultLoop&) = delete;

    // Starts with order's first scale; clears the Ethernet stop flag.
    void Start(const TransferOrder& order);
    BOOL IsRunning() const { return m_bRunning; }
    int GetIndex() const { return m_nIndex; }

    // Starts the job of scale index; past the last scale, or when the job
    // cannot start, the loop ends.
    void Step(int index);
    // Message 1326, and a job's message handled: the next step is posted when
    // the current job has ended.
    void OnStepDone();
    void Poke();
    // The posted step: goes on when the job has ended and no job's box is
    // open; after a stop the loop ends instead.
    void OnNext();

private:
    BOOL CurrentJobEnded() const;
    void PostNext();

    CTransferJobs& m_jobs;
    HWND m_hWnd;
    TransferOrder m_order;
    BOOL m_bRunning = FALSE;
    BOOL m_bPosted = FALSE;
    int m_nIndex = 0;
    UINT_PTR m_token = 0;
};
