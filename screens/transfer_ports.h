#pragma once
// CWorkScreenTransports: the transports behind the work screen's transfer
// commands. The TCP half runs one CTransferJobs job per scale of an order
// and owns the progress window 147; the serial half is the CSerialTransfer
// walk over the order's scales.

#include "ethernet/eth_trans_status_dlg.h"
#include "ethernet/transfer_jobs.h"
#include "screens/transfer_port.h"
#include "serial/serial_transfer.h"

class CWorkScreenTransports : public CTransferPort {
public:
    // host's window must exist.
    CWorkScreenTransports(
        CTransferHost& host, CSerialHost& serialHost, int language, TransferTimings timings = {});
    virtual ~CWorkScreenTransports();

    BOOL CheckOrder(const TransferOrder& order) override;
    void StartOrder(const TransferOrder& order) override;
    void StopTransfer() override;

    // The received-data database of a scale for a read started now:
    // C:\ZUVAR\ScaleData\<yyyy-mm-dd>\<h>Hour\<address>.mdb, made from the item
    // database template when it is missing or empty.
    static CString MakeReceivedDataPath(const CString& address);
    // The same path, not made yet, and its making.
    static CString ReceivedDataPath(const CString& address);
    static void PrepareReceivedData(const CString& path);

    CTransferJobs& Jobs() { return m_jobs; }
    CSerialTransfer& Serial() { return m_serial; }
    CEthTransStatusDlg& StatusDialog() { return m_statusDlg; }

private:
    CTransferHost& m_host;
    CTransferJobs m_jobs;
    CEthTransStatusDlg m_statusDlg;
    CSerialTransfer m_serial;
};
