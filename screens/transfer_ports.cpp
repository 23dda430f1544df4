#include "screens/transfer_ports.h"

#include "platform/base/datetime.h"
#include "shell/file_helpers.h"

CWorkScreenTransports::CWorkScreenTransports(
    CTransferHost& host, CSerialHost& serialHost, int language, TransferTimings timings)
    : m_host(host)
    , m_jobs(host, timings)
    , m_serial(&serialHost, language)
{
    m_statusDlg.SetOwnerView(&host);
    if (m_statusDlg.Create(nullptr))
        m_jobs.SetStatusDialog(&m_statusDlg);
}

CWorkScreenTransports::~CWorkScreenTransports()
{
    m_jobs.SetStatusDialog(nullptr);
}

CString CWorkScreenTransports::ReceivedDataPath(const CString& address)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return CString::Formatted("C:\\ZUVAR\\ScaleData\\%4d-%02d-%02d\\%dHour\\%s.mdb", now.wYear, now.wMonth,
        now.wDay, now.wHour, address);
}

void CWorkScreenTransports::PrepareReceivedData(const CString& path)
{
    MakeDirectoryPath(path.Left(path.ReverseFind('\\')));
    ProvisionDatabaseFile(150, path);
}

CString CWorkScreenTransports::MakeReceivedDataPath(const CString& address)
{
    const CString path = ReceivedDataPath(address);
    PrepareReceivedData(path);
    return path;
}

BOOL CWorkScreenTransports::CheckOrder(const TransferOrder& order)
{
    return order.link == TransferLink::Serial ? m_serial.CheckStart(order) : m_jobs.CheckStart(order);
}

void CWorkScreenTransports::StartOrder(const TransferOrder& order)
{
    if (order.link == TransferLink::Serial) {
        m_serial.Start(order);
        return;
    }
    // Only a start that goes ahead clears it: a refused one leaves the stop
    // asked of the running jobs.
    m_host.SetEthernetStop(0);
    if (order.command != TransferCommand::Recv || !order.targetDatabase.IsEmpty()) {
        m_jobs.Start(order);
        return;
    }
    // Each file is made when its first record comes: a scale that sends
    // nothing leaves none.
    TransferOrder reads = order;
    for (OrderScale& scale : reads.scales)
        scale.database = ReceivedDataPath(scale.address);
    reads.prepareDb = &PrepareReceivedData;
    m_jobs.Start(reads);
}

void CWorkScreenTransports::StopTransfer()
{
    m_serial.Stop();
}
