// The preset key pages: 60 key edits showing one page of the [Preset] table.
// A key is checked and written when it loses the focus, and the page is read
// again; there is no save command.

#include <cstdlib>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "platform/wnd/app.h"
#include "platform/wnd/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/table_bridge.h"
#include "shell/view_hints.h"

namespace {

constexpr int kFirstKeyId = 600;
constexpr int kKeyCount = 60;
constexpr long kMaxPresetItem = 50000;
// How long a key change waits for a page read to end.
constexpr DWORD kWorkerWait = 5000;

// The key's item number: its text up to the first CR.
CString FirstLine(const CEdit& key)
{
    CString text;
    key.GetWindowText(text);
    const int end = text.Find('\r');
    return end < 0 ? text : text.Left(end);
}

// Lets a page read still streaming end: it uses the worker's database.
bool WaitForWorker(CItemDbWorker* worker)
{
    return AfxPumpUntil([worker] { return !worker->IsDatabaseOpen(); }, kWorkerWait) != FALSE;
}

} // namespace

void CKindOfView::OnPresetKeyKillFocus(UINT id)
{
    const int index = static_cast<int>(id) - kFirstKeyId;
    if (index >= 0 && index < kKeyCount)
        UpdatePresetKey(index, index + 1);
}

void CKindOfView::OnPresetPageChange()
{
    if (!WaitForWorker(m_pItemWorker))
        return;
    ClearPresetKeys();
    m_nPresetPage = m_pageCombo.GetCurSel() + 1;
    m_mailbox.SetText(IDC_MAILBOX_NAME, "Pre_Read");
    m_mailbox.SetText(IDC_MAILBOX_TEXT, m_strUserId);
    StartLoad([this] { m_pTableBridge->RequestPresets(m_strItemDbPath, ""); });
}

int CKindOfView::CheckPresetKeyDigits(int keyIndex)
{
    if (keyIndex < 0 || keyIndex >= kKeyCount)
        return 0;
    const CString line = FirstLine(m_presetKeys[static_cast<std::size_t>(keyIndex)]);
    if (line.IsEmpty())
        return 0;
    for (int i = 0; i < line.GetLength(); ++i) {
        if (line[i] < '0' || line[i] > '9')
            return -1;
    }
    return 1;
}

int CKindOfView::CheckAllPresetKeyDigits()
{
    for (int k = 0; k < kKeyCount; ++k) {
        if (CheckPresetKeyDigits(k) == -1) {
            AfxMessageBox("Only, Input number to first line", MB_OK);
            m_presetKeys[static_cast<std::size_t>(k)].SetFocus();
            return -1;
        }
    }
    return 1;
}

int CKindOfView::CheckPresetItemNumbers()
{
    for (int k = 0; k < kKeyCount; ++k) {
        const CString line = FirstLine(m_presetKeys[static_cast<std::size_t>(k)]);
        if (std::strtoll(line.GetString(), nullptr, 10) > kMaxPresetItem) {
            AfxMessageBox("Item Number is maximum 50000", MB_OK);
            m_presetKeys[static_cast<std::size_t>(k)].SetFocus();
            return -1;
        }
    }
    return 1;
}

void CKindOfView::UpdatePresetKey(int keyIndex, int keyNumber)
{
    // The checks' message boxes and the focus they move raise kill-focus
    // notifications of their own; they must not start a second check.
    if (m_nPresetKeyBusy || keyIndex < 0 || keyIndex >= kKeyCount)
        return;
    m_nPresetKeyBusy = 1;
    // Whatever a read still streaming brings in, the screen must still be the
    // preset page.
    if (WaitForWorker(m_pItemWorker) && m_nHint == kHintPreset && !m_strItemDbPath.IsEmpty()) {
        CEdit& key = m_presetKeys[static_cast<std::size_t>(keyIndex)];
        if (key.GetModify()) {
            const int digits = CheckAllPresetKeyDigits();
            const int numbers = CheckPresetItemNumbers();
            if (digits != -1 && numbers != -1) {
                CString text;
                key.GetWindowText(text);
                m_mailbox.SetText(IDC_MAILBOX_NAME, "Pre_Update");
                m_mailbox.SetText(IDC_MAILBOX_TEXT, "");
                m_pTableBridge->SavePresets(m_strItemDbPath, keyNumber, text);
                key.SetModify(FALSE);
            }
        }
        m_nPresetPage = m_pageCombo.GetCurSel() + 1;
        m_mailbox.SetText(IDC_MAILBOX_NAME, "Pre_Read");
        m_mailbox.SetText(IDC_MAILBOX_TEXT, m_strUserId);
        StartLoad([this] { m_pTableBridge->RequestPresets(m_strItemDbPath, ""); });
    }
    m_nPresetKeyBusy = 0;
}
