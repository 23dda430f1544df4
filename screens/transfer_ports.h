#pragma once
// CWorkScreenTransports: the transports behind the work screen's transfer
// commands. The TCP half runs one CTransferJobs job per line of the scale list
// (every line is a target) and owns the progress window 147; the serial half
// hands the order to the serial transport when one is attached.

#include "ethernet/eth_trans_status_dlg.h"
#include "ethernet/transfer_jobs.h"
#include "screens/transfer_port.h"

// The serial link's side of the transfer commands.
class CSerialTransport {
public:
    virtual void StartSerialTransfer(const TransferOrder& order) = 0;
    virtual void StopTransfer() = 0;

protected:
    ~CSerialTransport() = default;
};

class CWorkScreenTransports : public CTransferPort {
public:
    // host's window must exist.
    explicit CWorkScreenTransports(CTransferHost& host, TransferTimings timings = {});
    virtual ~CWorkScreenTransports();

    void StartEthernetTransfer(const TransferOrder& order) override;
    void StartSerialTransfer(const TransferOrder& order) override;
    void StopTransfer() override;

    void SetSerialTransport(CSerialTransport* serial) { m_pSerial = serial; }

    // The received-data database of a scale for a read started now:
    // C:\ZUVAR\ScaleData\<yyyy-mm-dd>\<h>Hour\<address>.mdb, made from the item
    // database template when it is missing or empty.
    static CString MakeReceivedDataPath(const CString& address);
    // The same path, not made yet, and its making.
    static CString ReceivedDataPath(const CString& address);
    static void PrepareReceivedData(const CString& path);
    // The address behind "IP=" of a scale list line.
    static CString AddressOfLine(const CString& line);
    // The name behind "Scale name = " of a scale list line, up to its comma.
    static CString NameOfLine(const CString& line);

    CTransferJobs& Jobs() { return m_jobs; }
    CEthTransStatusDlg& StatusDialog() { return m_statusDlg; }

private:
    CTransferJobs m_jobs;
    CEthTransStatusDlg m_statusDlg;
    CSerialTransport* m_pSerial = nullptr;
};
