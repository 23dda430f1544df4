#include "screens/transfer_ports.h"

#include "platform/base/datetime.h"
#include "shell/file_helpers.h"
#include "transfer/transfer_rows.h"

CWorkScreenTransports::CWorkScreenTransports(CTransferHost& host, TransferTimings timings)
    : m_jobs(host, timings)
{
    m_statusDlg.SetOwnerView(&host);
    if (m_statusDlg.Create(nullptr))
        m_jobs.SetStatusDialog(&m_statusDlg);
}

CWorkScreenTransports::~CWorkScreenTransports()
{
    m_jobs.SetStatusDialog(nullptr);
}

CString CWorkScreenTransports::AddressOfLine(const CString& line)
{
    const int at = line.Find("IP=");
    return at < 0 ? CString() : line.Mid(at + 3);
}

CString CWorkScreenTransports::NameOfLine(const CString& line)
{
    constexpr char kName[] = "Scale name = ";
    const int at = line.Find(kName);
    if (at < 0)
        return CString();
    const int start = at + static_cast<int>(sizeof kName) - 1;
    const int end = line.Find(',', start);
    return end < 0 ? line.Mid(start) : line.Mid(start, end - start);
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

void CWorkScreenTransports::StartEthernetTransfer(const TransferOrder& order)
{
    TransferJobOrder jobs;
    jobs.direction = order.command;
    jobs.kind = order.dataKind;
    jobs.selection = order.scope;
    jobs.languageIndex = order.languageIndex;
    jobs.requestNumbers = order.receiveNumbers;
    for (const CString& line : order.scales) {
        jobs.addresses.push_back(AddressOfLine(line));
        jobs.names.push_back(NameOfLine(line));
    }
    if (!m_jobs.CheckStart(jobs))
        return;
    // Only a start that goes ahead clears it: a refused one leaves the stop
    // asked of the running jobs.
    m_jobs.Host().SetEthernetStop(0);
    if (order.command == TransferCommand::Recv) {
        // Each file is made when its first record comes: a scale that sends
        // nothing leaves none.
        for (const CString& address : jobs.addresses)
            jobs.dbPaths.push_back(ReceivedDataPath(address));
        jobs.prepareDb = &PrepareReceivedData;
    }
    // Read once, now: every job sends these, whatever the screen shows later.
    jobs.rows = TakeTransferRows(
        m_jobs.Host(), jobs.direction, jobs.kind, jobs.selection, RecordColumns(jobs.kind));
    m_jobs.Start(jobs);
}

void CWorkScreenTransports::StartSerialTransfer(const TransferOrder& order)
{
    if (m_pSerial)
        m_pSerial->StartSerialTransfer(order);
}

void CWorkScreenTransports::StopTransfer()
{
    if (m_pSerial)
        m_pSerial->StopTransfer();
}
