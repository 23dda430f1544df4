// The Ethernet GET/PUSH dialog: the list of scales and the transfers.

#include "labeltool/ethernet_get_push_dlg.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>

#include "labeltool/scale_ip_dlg.h"
#include "platform/base/bytes.h"
#include "platform/base/file_system.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/docview/winapp.h"
#include "protocol/scale_codes.h"

namespace {

constexpr const char* kIniPath = "C:\\Zuvinf.ini";

EthernetLimits g_limits;

// Indices of the selected items, in order.
std::vector<int> Selected(const CListBox& list)
{
    std::vector<int> picked;
    const int count = list.GetSelCount();
    if (count == LB_ERR) {
        if (list.GetCurSel() != LB_ERR)
            picked.push_back(list.GetCurSel());
        return picked;
    }
    picked.resize(static_cast<std::size_t>(count));
    picked.resize(static_cast<std::size_t>(std::max(0, list.GetSelItems(count, picked.data()))));
    return picked;
}

std::vector<bool> Marks(std::size_t size, const std::vector<int>& indices)
{
    std::vector<bool> marks(size, false);
    for (int i : indices)
        if (i >= 0 && static_cast<std::size_t>(i) < size)
            marks[static_cast<std::size_t>(i)] = true;
    return marks;
}

// Takes the entries at the given indices out of from, in order.
std::vector<int> TakeAt(std::vector<int>& from, const std::vector<int>& indices)
{
    const std::vector<bool> marks = Marks(from.size(), indices);
    std::vector<int> taken;
    std::vector<int> kept;
    for (std::size_t i = 0; i < from.size(); ++i)
        (marks[i] ? taken : kept).push_back(from[i]);
    from = kept;
    return taken;
}

// A selection that is one block at the top cannot move up.
bool CanMoveUp(const std::vector<bool>& marks)
{
    for (std::size_t i = 1; i < marks.size(); ++i)
        if (marks[i] && !marks[i - 1])
            return true;
    return false;
}

bool CanMoveDown(std::vector<bool> marks)
{
    std::reverse(marks.begin(), marks.end());
    return CanMoveUp(marks);
}

// n of a key "SCALEn" (n in decimal without leading zeros), else -1.
long ScaleIndex(const CString& key)
{
    const std::string& text = key.Str();
    if (text.size() < 6 || text.size() > 14
        || !std::equal(text.begin(), text.begin() + 5, "SCALE",
            [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; }))
        return -1;
    const std::string digits = text.substr(5);
    if (digits.find_first_not_of("0123456789") != std::string::npos
        || (digits.size() > 1 && digits[0] == '0'))
        return -1;
    return std::strtol(digits.c_str(), nullptr, 10);
}

// The numbers of the scale keys below count, in order, at most
// kMaxListedScales of them.
std::vector<long> ScaleIndices(const std::vector<CString>& keys, long count)
{
    std::vector<long> indices;
    for (const CString& key : keys)
        if (const long n = ScaleIndex(key); n >= 0 && n < count)
            indices.push_back(n);
    std::sort(indices.begin(), indices.end());
    if (indices.size() > kMaxListedScales)
        indices.resize(kMaxListedScales);
    return indices;
}

} // namespace

CEthernetGetPushDlg::CEthernetGetPushDlg(CWnd* parent)
    : CDialog(IDD, parent)
{ }

CEthernetGetPushDlg::~CEthernetGetPushDlg() = default;

void CEthernetGetPushDlg::SetLimits(const EthernetLimits& limits)
{
    g_limits = limits;
}

EthernetLimits CEthernetGetPushDlg::GetLimits()
{
    return g_limits;
}

const MessageMap* CEthernetGetPushDlg::GetMessageMap() const
{
    static const MessageMap kMap(CDialog::GetMessageMap(),
        {
            OnControl<&CEthernetGetPushDlg::OnAdd>(BN_CLICKED, IDC_GP_ADD),
            OnControl<&CEthernetGetPushDlg::OnDelete>(BN_CLICKED, IDC_GP_DELETE),
            OnControl<&CEthernetGetPushDlg::OnAdopt>(BN_CLICKED, IDC_GP_ADOPT),
            OnControl<&CEthernetGetPushDlg::OnAdoptAll>(BN_CLICKED, IDC_GP_ADOPT_ALL),
            OnControl<&CEthernetGetPushDlg::OnRemove>(BN_CLICKED, IDC_GP_REMOVE),
            OnControl<&CEthernetGetPushDlg::OnRemoveAll>(BN_CLICKED, IDC_GP_REMOVE_ALL),
            OnControl<&CEthernetGetPushDlg::OnMoveUp>(BN_CLICKED, IDC_GP_MOVE_UP),
            OnControl<&CEthernetGetPushDlg::OnMoveDown>(BN_CLICKED, IDC_GP_MOVE_DOWN),
            OnControl<&CEthernetGetPushDlg::OnScalesDoubleClick>(LBN_DBLCLK, IDC_GP_SCALES),
            OnControl<&CEthernetGetPushDlg::OnAdoptedDoubleClick>(LBN_DBLCLK, IDC_GP_ADOPTED),
            OnControl<&CEthernetGetPushDlg::OnSelectionChange>(LBN_SELCHANGE, IDC_GP_SCALES),
            OnControl<&CEthernetGetPushDlg::OnSelectionChange>(LBN_SELCHANGE, IDC_GP_ADOPTED),
            OnControl<&CEthernetGetPushDlg::OnTransfer>(BN_CLICKED, IDC_GP_TRANSFER),
            OnControl<&CEthernetGetPushDlg::OnClose>(BN_CLICKED, IDC_GP_CLOSE),
            OnControl<&CEthernetGetPushDlg::OnNothing>(BN_CLICKED, IDC_GP_NOTHING_OK),
            OnControl<&CEthernetGetPushDlg::OnNothing>(BN_CLICKED, IDC_GP_NOTHING_CANCEL),
            OnMessage<&CEthernetGetPushDlg::OnSocketLog>(WM_SOCKET_LOG),
        });
    return &kMap;
}

BOOL CEthernetGetPushDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    {
        CDataExchange dx(this, FALSE);
        DDX_Control(&dx, IDC_GP_SCALES, m_scalesList);
        DDX_Control(&dx, IDC_GP_ADOPTED, m_adoptedList);
        DDX_Control(&dx, IDC_GP_PROGRESS, m_progress);
    }
    RemoveLeftoverTemporaries(kIniPath); // of saves killed before they ended
    (void)m_ini.Open(kIniPath, TRUE, TRUE, TRUE, FALSE);
    if (m_direction == kEthernetGet) {
        for (int id : { IDC_GP_ADOPTED, IDC_GP_ADOPTED_GROUP, IDC_GP_ADOPT, IDC_GP_ADOPT_ALL, IDC_GP_REMOVE,
                 IDC_GP_REMOVE_ALL, IDC_GP_MOVE_UP, IDC_GP_MOVE_DOWN })
            if (CWnd* control = GetDlgItem(id))
                control->ShowWindow(SW_HIDE);
        SetDlgItemText(IDC_GP_TRANSFER, "GET");
        if (CWinApp* app = AfxGetApp())
            SetDlgItemText(IDC_GP_GET_SCALE, app->GetProfileString("Settings", "rcvscale", ""));
    } else {
        for (int id : { IDC_GP_GET_SCALE, IDC_GP_GET_GROUP })
            if (CWnd* control = GetDlgItem(id))
                control->ShowWindow(SW_HIDE);
    }
    // Opening writes nothing: the file changes with the list only.
    ReadList();
    FillLists();
    if (auto* log = dynamic_cast<CEdit*>(GetDlgItem(IDC_GP_LOG)))
        log->LimitText(0);
    UpdateButtons();
    return TRUE;
}

void CEthernetGetPushDlg::ReadList()
{
    m_scales.clear();
    m_adopted.clear();
    m_scaleTexts.clear();
    m_scaleModes.clear();
    m_read.clear();
    // Only the keys the file holds are read, never COUNT of them; an empty
    // COUNT reads as 0 and is written at the first save.
    const long n = std::strtol(m_ini.GetValue("SCALE", "COUNT", "").GetString(), nullptr, 10);
    for (const long i : ScaleIndices(m_ini.GetKeys("IP"), n)) {
        const CString key = CString::Formatted("SCALE%ld", i);
        const CString text = m_ini.GetValue("IP", key, "");
        CString whole;
        const bool hasMode = m_ini.Lookup("MODE", key, whole) != FALSE;
        const CString mode = m_ini.GetValue("MODE", key, "");
        std::vector<int>* into = nullptr;
        if (m_direction == kEthernetGet)
            into = &m_scales;
        else if (mode == "0")
            into = &m_scales;
        else if (mode == "1")
            into = &m_adopted;
        if (!into)
            continue;
        const int id = m_nextId++;
        m_scaleTexts[id] = text;
        if (hasMode)
            m_scaleModes[id] = mode;
        into->push_back(id);
        m_read.insert(i);
    }
}

// The list first: COUNT scales, those of the list with MODE "0" and the
// adopted ones with "1" (GET mode keeps each scale's MODE as read). The
// entries not read follow with their lines as they were, those COUNT held
// still counted. A list that could not be written is told and shown again
// as the file holds it.
BOOL CEthernetGetPushDlg::SaveList()
{
    struct Entry {
        std::optional<CString> ip;
        std::optional<CString> mode;
    };
    const auto lookup = [this](const char* section, long index) {
        CString value;
        return m_ini.Lookup(section, CString::Formatted("SCALE%ld", index), value)
            ? std::optional<CString>(value)
            : std::nullopt;
    };
    std::vector<Entry> entries;
    for (int id : m_scales) {
        const auto kept = m_scaleModes.find(id);
        entries.push_back({ m_scaleTexts[id],
            m_direction != kEthernetGet      ? std::optional<CString>("0")
                : kept != m_scaleModes.end() ? std::optional<CString>(kept->second)
                                             : std::nullopt });
    }
    for (int id : m_adopted)
        entries.push_back({ m_scaleTexts[id], CString("1") });
    const std::size_t listed = entries.size();
    const long count = std::strtol(m_ini.GetValue("SCALE", "COUNT", "").GetString(), nullptr, 10);
    std::set<long> unread;
    for (const char* section : { "IP", "MODE" })
        for (const CString& key : m_ini.GetKeys(section))
            if (const long n = ScaleIndex(key); n >= 0 && !m_read.contains(n))
                unread.insert(n);
    std::vector<Entry> uncounted;
    for (const long n : unread)
        (n < count ? entries : uncounted).push_back({ lookup("IP", n), lookup("MODE", n) });
    const std::size_t counted = entries.size();
    entries.insert(entries.end(), uncounted.begin(), uncounted.end());

    m_ini.SetValue("SCALE", "COUNT", CString::Formatted("%d", static_cast<int>(counted)));
    const char* const sections[] = { "IP", "MODE" };
    std::set<long> absent[2]; // the entries without a line in each section
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CString key = CString::Formatted("SCALE%d", static_cast<int>(i));
        const std::optional<CString>* values[] = { &entries[i].ip, &entries[i].mode };
        for (std::size_t f = 0; f < 2; ++f) {
            if (*values[f])
                m_ini.SetValue(sections[f], key, **values[f]);
            else
                absent[f].insert(static_cast<long>(i));
        }
    }
    const long total = static_cast<long>(entries.size());
    for (std::size_t f = 0; f < 2; ++f)
        m_ini.DeleteKeys(sections[f], [total, &gone = absent[f]](const CString& key) {
            const long n = ScaleIndex(key);
            return n >= total || gone.contains(n);
        });
    if (!m_ini.Write(FALSE)) {
        AfxMessageBox(m_ini.IsStale() ? kScaleListChangedText : kScaleListNotWrittenText);
        (void)m_ini.Reload();
        ReadList();
        FillLists();
        return FALSE;
    }
    m_read.clear();
    for (long i = 0; i < static_cast<long>(listed); ++i)
        m_read.insert(i);
    FillLists();
    return TRUE;
}

void CEthernetGetPushDlg::FillLists()
{
    const auto fill = [this](CListBox& list, const std::vector<int>& ids) {
        list.ResetContent();
        for (int id : ids) {
            const int at = list.AddString(m_scaleTexts[id]);
            list.SetItemData(at, static_cast<DWORD_PTR>(id));
        }
        if (list.GetCount() == 0)
            return;
        if (list.GetSelCount() == LB_ERR)
            list.SetCurSel(0);
        else
            list.SetSel(0, TRUE);
    };
    fill(m_scalesList, m_scales);
    fill(m_adoptedList, m_adopted);
}

void CEthernetGetPushDlg::UpdateButtons()
{
    const auto enable = [this](int id, bool on) {
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(on ? TRUE : FALSE);
    };
    const std::vector<int> picked = Selected(m_scalesList);
    const std::vector<bool> adopted = Marks(m_adopted.size(), Selected(m_adoptedList));
    const bool anyAdopted = std::find(adopted.begin(), adopted.end(), true) != adopted.end();
    const bool idle = !m_transferring;
    enable(IDC_GP_ADD, idle);
    enable(IDC_GP_TRANSFER, idle);
    enable(IDC_GP_SCALES, idle);
    enable(IDC_GP_ADOPTED, true);
    enable(IDC_GP_ADOPT, !picked.empty());
    enable(IDC_GP_DELETE, idle && !picked.empty());
    enable(IDC_GP_ADOPT_ALL, !m_scales.empty());
    enable(IDC_GP_REMOVE, anyAdopted);
    enable(IDC_GP_REMOVE_ALL, !m_adopted.empty());
    enable(IDC_GP_MOVE_UP, CanMoveUp(adopted));
    enable(IDC_GP_MOVE_DOWN, CanMoveDown(adopted));
}

void CEthernetGetPushDlg::OnAdd()
{
    CScaleIpDlg dialog(this);
    if (dialog.DoModal() != IDOK)
        return;
    const int id = m_nextId++;
    m_scaleTexts[id] = dialog.m_name + ":" + dialog.m_address;
    m_scaleModes[id] = "0";
    m_scales.push_back(id);
    SaveList();
    UpdateButtons();
}

void CEthernetGetPushDlg::OnDelete()
{
    for (int id : TakeAt(m_scales, Selected(m_scalesList))) {
        m_scaleTexts.erase(id);
        m_scaleModes.erase(id);
    }
    SaveList();
    UpdateButtons();
}

void CEthernetGetPushDlg::OnAdopt()
{
    for (int id : TakeAt(m_scales, Selected(m_scalesList)))
        m_adopted.push_back(id);
    SaveList();
    UpdateButtons();
}

void CEthernetGetPushDlg::OnAdoptAll()
{
    m_adopted.insert(m_adopted.end(), m_scales.begin(), m_scales.end());
    m_scales.clear();
    SaveList();
    UpdateButtons();
}

void CEthernetGetPushDlg::OnRemove()
{
    for (int id : TakeAt(m_adopted, Selected(m_adoptedList)))
        m_scales.push_back(id);
    SaveList();
    UpdateButtons();
}

void CEthernetGetPushDlg::OnRemoveAll()
{
    m_scales.insert(m_scales.end(), m_adopted.begin(), m_adopted.end());
    m_adopted.clear();
    SaveList();
    UpdateButtons();
}

void CEthernetGetPushDlg::OnMoveUp()
{
    std::vector<bool> marks = Marks(m_adopted.size(), Selected(m_adoptedList));
    for (std::size_t i = 1; i < m_adopted.size(); ++i)
        if (marks[i] && !marks[i - 1]) {
            std::swap(m_adopted[i], m_adopted[i - 1]);
            std::vector<bool>::swap(marks[i], marks[i - 1]);
        }
    SaveList();
    UpdateButtons();
}

void CEthernetGetPushDlg::OnMoveDown()
{
    std::vector<bool> marks = Marks(m_adopted.size(), Selected(m_adoptedList));
    for (std::size_t i = m_adopted.size(); i-- > 1;)
        if (marks[i - 1] && !marks[i]) {
            std::swap(m_adopted[i], m_adopted[i - 1]);
            std::vector<bool>::swap(marks[i], marks[i - 1]);
        }
    SaveList();
    UpdateButtons();
}

void CEthernetGetPushDlg::OnScalesDoubleClick()
{
    if (m_direction != kEthernetGet) {
        OnAdopt();
        return;
    }
    const std::vector<int> picked = Selected(m_scalesList);
    if (picked.empty())
        return;
    CString text;
    m_scalesList.GetText(picked.front(), text);
    SetDlgItemText(IDC_GP_GET_SCALE, text);
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileString("Settings", "rcvscale", text);
}

void CEthernetGetPushDlg::OnAdoptedDoubleClick()
{
    OnRemove();
}

void CEthernetGetPushDlg::OnSelectionChange()
{
    UpdateButtons();
}

void CEthernetGetPushDlg::OnClose()
{
    EndDialog(IDCANCEL);
}

void CEthernetGetPushDlg::OnNothing() { }

LRESULT CEthernetGetPushDlg::OnSocketLog(WPARAM, LPARAM lParam)
{
    SetStatus(reinterpret_cast<const char*>(lParam));
    return 0;
}

void CEthernetGetPushDlg::AppendLog(const char* text)
{
    CString log;
    GetDlgItemText(IDC_GP_LOG, log);
    SetDlgItemText(IDC_GP_LOG, log + text);
}

void CEthernetGetPushDlg::SetStatus(const char* text)
{
    SetDlgItemText(IDC_GP_STATUS, text);
}

void CEthernetGetPushDlg::SetProgress(int pos)
{
    m_progress.SetPos(pos);
}

void CEthernetGetPushDlg::EnableForTransfer(BOOL enable)
{
    m_transferring = !enable;
    UpdateButtons();
}
