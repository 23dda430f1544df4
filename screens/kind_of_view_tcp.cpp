// The work screen as the host of the TCP transfer jobs: what the jobs read of
// it, the socket messages and reply timers it routes to them.

#include <cstdlib>

#include "screens/kind_of_view.h"
#include "screens/transfer_ports.h"

void CKindOfView::CreateTransports()
{
    if (m_pTransports || !GetSafeHwnd())
        return;
    m_pTransports = std::make_unique<CWorkScreenTransports>(*this);
    if (!m_pTransferPort)
        m_pTransferPort = m_pTransports.get();
}

LRESULT CKindOfView::OnTransSocketData(WPARAM token, LPARAM)
{
    if (m_pTransports)
        m_pTransports->Jobs().OnSocketData(token);
    PokeResultLoop();
    return 1;
}

BOOL CKindOfView::OnTransferTimer(UINT_PTR id)
{
    if (!m_pTransports || !m_pTransports->Jobs().OnTimer(static_cast<UINT>(id)))
        return FALSE;
    PokeResultLoop();
    return TRUE;
}

HWND CKindOfView::GetTransferWindow()
{
    return GetSafeHwnd();
}

int CKindOfView::GetGridRowCount()
{
    return m_grid.GetRowCount();
}

CString CKindOfView::GetGridItemText(int row, int column)
{
    return m_grid.GetItemText(row, column);
}

int CKindOfView::GetCurrentGridRow()
{
    return m_rows.GetClickedRow() >= 1 ? m_rows.GetClickedRow() : 1;
}

TransferSelection CKindOfView::GetTransferSelection()
{
    return GridPickState(m_grid);
}

CString CKindOfView::GetCurrentKind()
{
    return m_strKind;
}

int CKindOfView::GetPresetPage()
{
    return m_presetKeys.GetComboPage();
}

std::vector<CString> CKindOfView::GetPresetKeyTexts()
{
    return m_presetKeys.GetKeyTexts();
}

int CKindOfView::GetPresetReadPage()
{
    CString text;
    m_editScaleRecv.GetWindowText(text);
    return static_cast<int>(std::strtol(text.GetString(), nullptr, 10));
}

CString CKindOfView::GetUserId()
{
    return m_strUserId;
}

CString CKindOfView::GetItemDbPath()
{
    return m_strItemDbPath;
}

int CKindOfView::GetEthernetStop()
{
    return m_nEthernetStop.load();
}

void CKindOfView::SetEthernetStop(int stop)
{
    m_nEthernetStop.store(stop);
}

// Both transports tell their start and end once each: a count over both, so
// that the end of one leaves the other counted.
void CKindOfView::SetTransferActive(int active)
{
    if (active)
        ++m_nTransferActive;
    else if (m_nTransferActive.load() > 0)
        --m_nTransferActive;
}

void CKindOfView::NoteReceivedRecord(const CString& request, const CString& sql)
{
    if (!request.IsEmpty())
        m_mailbox.SetText(1003, request);
    m_mailbox.SetText(1002, sql);
}

void CKindOfView::ShowTransferProgress(const CString& text)
{
    m_editProgress.SetWindowText(text);
}
