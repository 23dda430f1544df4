// The preset key pages: 60 key edits showing one page of the [Preset] table.

#include "screens/preset_keys.h"

#include <cstdlib>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "grid/grid_ctrl.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/pen.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/msgbox.h"
#include "resources/calvorn_ids.h"
#include "screens/table_bridge.h"
#include "screens/work_screen_context.h"

namespace {

constexpr long kMaxPresetItem = 50000;
// How long a key change waits for a page read to end.
constexpr DWORD kWorkerWait = 5000;
constexpr DWORD kPresetKeyStyle = 0x50811085;
constexpr DWORD kPresetIdStyle = 0x48811085;
constexpr DWORD kPageComboStyle = 0x40000002;
// [Preset].[str] holds 20 characters; the box counts bytes, never fewer.
constexpr int kPresetKeyLimit = 20;
constexpr COLORREF kPresetFrameColor = 0x00FFFF00;

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

CPresetKeys::CPresetKeys(CWorkScreenState& screen, CWorkScreenDatabase& data)
    : m_screen(screen)
    , m_data(data)
{ }

const MessageMap* CPresetKeys::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnControlRange<&CPresetKeys::OnPresetKeyKillFocus>(
                EN_KILLFOCUS, IDC_PRESET_FIRST_KEY, IDC_PRESET_FIRST_KEY + kPresetKeyEdits - 1),
            OnControl<&CPresetKeys::OnPresetPageChange>(CBN_SELCHANGE, IDC_PRESET_PAGE),
        });
    return &kMap;
}

void CPresetKeys::CreatePresetKeyEdits()
{
    CWnd* form = &m_screen.Form();
    if (!m_font.GetSafeHandle())
        m_font.CreateFont(14, 8, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, "Courier New");
    for (int k = 0; k < kPresetKeyEdits; ++k) {
        const int row = k / 10;
        const int column = k % 10;
        const int top = row < 5 ? 52 + 57 * row : 72 + 57 * 5;
        CEdit& key = m_keys[static_cast<std::size_t>(k)];
        if (!key.GetSafeHwnd()) {
            key.Create(kPresetKeyStyle, CRect(52 + 57 * column, top, 109 + 57 * column, top + 57), form,
                static_cast<UINT>(IDC_PRESET_FIRST_KEY + k));
            key.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
            key.SetLimitText(kPresetKeyLimit);
        }
    }
    for (int i = 0; i < GetKeyCount(); ++i) {
        CEdit& holder = m_keyIds[static_cast<std::size_t>(i)];
        if (!holder.GetSafeHwnd())
            holder.Create(kPresetIdStyle, CRect(150, 50 + 30 * i, 500, 80 + 30 * i), form,
                static_cast<UINT>(IDC_PRESET_FIRST_KEY_ID + i));
    }
    if (!m_pageCombo.GetSafeHwnd()) {
        m_pageCombo.Create(kPageComboStyle, CRect(500, 400, 600, 500), form, IDC_PRESET_PAGE);
        for (const char* page : { "Page 1", "Page 2", "Page 3" })
            m_pageCombo.AddString(page);
        m_pageCombo.SetCurSel(0);
        m_nPage = 1;
    }
}

int CPresetKeys::GetKeyCount() const
{
    return m_strModel == "1" ? 50 : kPresetKeyEdits;
}

void CPresetKeys::ShowPresetKeys(BOOL show)
{
    CWnd* form = &m_screen.Form();
    form->SetDlgItemText(IDC_WORK_PRESET_NOTE, " Last Line => Only Q-series Scale");
    form->SetDlgItemText(ID_FILE_PRINT, "Print");
    for (std::size_t k = 0; k < m_keys.size(); ++k) {
        if (m_keys[k].GetSafeHwnd())
            m_keys[k].ShowWindow(show && static_cast<int>(k) < GetKeyCount() ? SW_SHOW : SW_HIDE);
    }
    for (int id : { IDC_WORK_PRESET_NOTE, ID_FILE_PRINT }) {
        if (CWnd* control = form->GetDlgItem(id))
            control->ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
}

void CPresetKeys::ClearPresetKeys()
{
    for (std::size_t k = 0; static_cast<int>(k) < GetKeyCount(); ++k) {
        m_keys[k].SetWindowText("");
        m_keyIds[k].SetWindowText("");
    }
    m_nPage = 0;
}

void CPresetKeys::ShowPageCombo(BOOL show)
{
    if (!m_pageCombo.GetSafeHwnd())
        return;
    if (show)
        m_pageCombo.SetWindowPos(&CWnd::wndTop, 630, 292, 120, 20, SWP_SHOWWINDOW);
    else
        m_pageCombo.ShowWindow(SW_HIDE);
}

void CPresetKeys::TakeComboPage()
{
    m_nPage = m_pageCombo.GetCurSel() + 1;
}

int CPresetKeys::GetComboPage() const
{
    return m_pageCombo.GetSafeHwnd() ? m_pageCombo.GetCurSel() + 1 : m_nPage;
}

std::vector<CString> CPresetKeys::GetKeyTexts() const
{
    std::vector<CString> keys;
    for (const CEdit& key : m_keys) {
        CString text;
        if (key.GetSafeHwnd())
            key.GetWindowText(text);
        keys.push_back(text);
    }
    return keys;
}

std::vector<std::vector<int>> CPresetKeys::GetShownLineStarts() const
{
    std::vector<std::vector<int>> keys;
    for (const CEdit& key : m_keys) {
        std::vector<int> starts;
        for (int line = 0; key.GetSafeHwnd() && line < key.GetLineCount(); ++line)
            starts.push_back(key.LineIndex(line));
        keys.push_back(std::move(starts));
    }
    return keys;
}

void CPresetKeys::SetKey(int number, const CString& text, const CString& id)
{
    if (number < 1 || number > kPresetKeyEdits)
        return;
    m_keys[static_cast<std::size_t>(number - 1)].SetWindowText(text);
    m_keyIds[static_cast<std::size_t>(number - 1)].SetWindowText(id);
}

CString CPresetKeys::GetKeyId(int number) const
{
    CString id;
    if (number >= 1 && number <= kPresetKeyEdits)
        m_keyIds[static_cast<std::size_t>(number - 1)].GetWindowText(id);
    return id;
}

void CPresetKeys::DrawSheetFrame(CDC* dc) const
{
    if (!m_bFramed || !dc)
        return;
    for (int c = 0; c < 10; ++c) {
        LOGBRUSH brush { BS_SOLID, kPresetFrameColor, 0 };
        CPen pen(PS_GEOMETRIC | PS_SOLID, 8, &brush);
        CPen* old = dc->SelectObject(&pen);
        const int oldRop = dc->SetROP2(R2_XORPEN);
        const int oldMode = dc->SetBkMode(TRANSPARENT);
        CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
        dc->Rectangle(52 + 57 * c, 357, 109 + 57 * c, 414);
        dc->SelectObject(oldBrush);
        dc->SetBkMode(oldMode);
        dc->SetROP2(oldRop);
        dc->SelectObject(old);
    }
}

void CPresetKeys::OnPresetKeyKillFocus(UINT id)
{
    const int index = static_cast<int>(id) - static_cast<int>(IDC_PRESET_FIRST_KEY);
    if (index >= 0 && index < kPresetKeyEdits)
        UpdatePresetKey(index, index + 1);
}

void CPresetKeys::ReadPage()
{
    m_data.DbMailbox().PutQuery(DbRequest::PresetRead, m_screen.UserId());
    m_screen.StartLoad([this] { m_data.TableBridge().Request(DataKind::Preset, m_data.ItemDbPath()); });
}

void CPresetKeys::OnPresetPageChange()
{
    if (!WaitForWorker(&m_data.ItemWorker()))
        return;
    ClearPresetKeys();
    TakeComboPage();
    ReadPage();
}

int CPresetKeys::CheckPresetKeyDigits(int keyIndex) const
{
    if (keyIndex < 0 || keyIndex >= kPresetKeyEdits)
        return 0;
    const CString line = FirstLine(m_keys[static_cast<std::size_t>(keyIndex)]);
    if (line.IsEmpty())
        return 0;
    for (int i = 0; i < line.GetLength(); ++i) {
        if (line[i] < '0' || line[i] > '9')
            return -1;
    }
    return 1;
}

int CPresetKeys::CheckAllPresetKeyDigits()
{
    for (int k = 0; k < kPresetKeyEdits; ++k) {
        if (CheckPresetKeyDigits(k) == -1) {
            AfxMessageBox("Only, Input number to first line", MB_OK);
            m_keys[static_cast<std::size_t>(k)].SetFocus();
            return -1;
        }
    }
    return 1;
}

int CPresetKeys::CheckPresetItemNumbers()
{
    for (int k = 0; k < kPresetKeyEdits; ++k) {
        const CString line = FirstLine(m_keys[static_cast<std::size_t>(k)]);
        if (std::strtoll(line.GetString(), nullptr, 10) > kMaxPresetItem) {
            AfxMessageBox("Item Number is maximum 50000", MB_OK);
            m_keys[static_cast<std::size_t>(k)].SetFocus();
            return -1;
        }
    }
    return 1;
}

void CPresetKeys::UpdatePresetKey(int keyIndex, int keyNumber)
{
    // The checks' message boxes and the focus they move raise kill-focus
    // notifications of their own; they must not start a second check.
    if (m_nBusy || keyIndex < 0 || keyIndex >= kPresetKeyEdits)
        return;
    m_nBusy = 1;
    // Whatever a read still streaming brings in, the screen must still be the
    // preset page.
    if (WaitForWorker(&m_data.ItemWorker()) && m_screen.HintKind() == DataKind::Preset
        && !m_data.ItemDbPath().IsEmpty()) {
        CEdit& key = m_keys[static_cast<std::size_t>(keyIndex)];
        if (key.GetModify()) {
            const int digits = CheckAllPresetKeyDigits();
            const int numbers = CheckPresetItemNumbers();
            if (digits != -1 && numbers != -1) {
                CString text;
                key.GetWindowText(text);
                m_data.TableBridge().SavePresets(
                    DbRequest::PresetUpdate, m_data.ItemDbPath(), keyNumber, text);
                key.SetModify(FALSE);
            }
        }
        TakeComboPage();
        ReadPage();
    }
    m_nBusy = 0;
}
