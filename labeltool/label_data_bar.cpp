// The label data viewer: data exchange, change notices, moved items, label
// files and terminal settings.

#include "labeltool/label_data_bar.h"
#include "labeltool/unsaved_edits.h"

#include <algorithm>

#include "labeltool/file_bytes.h"
#include "labeltool/label_file.h"
#include "labeltool/tarnel_messages.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/dialogs/ddv.h"
#include "platform/wnd/dialogs/filedialog.h"
#include "platform/wnd/docview/create_context.h"
#include "platform/wnd/docview/winapp.h"

namespace {

enum class Field { Free, X, Y, Combo };

struct ValueControl {
    int id;
    Field field;
};

// The control of each value, in value order.
constexpr ValueControl kControls[kLabelValueCount] = {
    { 1027, Field::Free },
    { 1046, Field::Free },
    { 1049, Field::Free }, //
    { 1000, Field::X },
    { 1001, Field::Y },
    { 1028, Field::Combo }, //
    { 1002, Field::X },
    { 1003, Field::Y },
    { 1029, Field::Combo }, //
    { 1004, Field::X },
    { 1005, Field::Y },
    { 1030, Field::Combo }, //
    { 1006, Field::X },
    { 1007, Field::Y },
    { 1031, Field::Combo }, //
    { 1008, Field::X },
    { 1009, Field::Y },
    { 1032, Field::Combo }, //
    { 1010, Field::X },
    { 1011, Field::Y },
    { 1033, Field::Combo }, //
    { 1012, Field::X },
    { 1013, Field::Y },
    { 1074, Field::Combo },
    { 1014, Field::Free }, //
    { 1015, Field::X },
    { 1016, Field::Y },
    { 1034, Field::Combo }, //
    { 1017, Field::X },
    { 1018, Field::Y },
    { 1035, Field::Combo }, //
    { 1019, Field::X },
    { 1020, Field::Y },
    { 1036, Field::Combo }, //
    { 1021, Field::X },
    { 1022, Field::Y },
    { 1037, Field::Combo }, //
    { 1023, Field::X },
    { 1024, Field::Y },
    { 1038, Field::Combo },
    { 1039, Field::Combo }, //
    { 1025, Field::X },
    { 1026, Field::Y },
    { 1040, Field::Combo },
    { 1041, Field::Combo }, //
    { 1068, Field::X },
    { 1069, Field::Y },
    { 1072, Field::Combo }, //
    { 1070, Field::X },
    { 1071, Field::Y },
    { 1073, Field::Combo },
};

constexpr int kScaleNumberEdit = 1047;
constexpr int kFileNumberEdit = 1048;
constexpr int kFormatCombo = 1042;
constexpr int kAloneRadio = 1075;
constexpr int kMultiRadio = 1076;
constexpr int kTxLamp = 1062;
constexpr int kRxLamp = 1063;
constexpr int kMaxBarcodeLength = 75;
constexpr const char* kSettings = "Settings";
constexpr const char* kLabelFilter = "Label Info(*.ubl)|*.ubl||";
constexpr const char* kLabelExtension = "ubl";

const char* const kFonts[] = { "0. Not Print", "1. 8x16", "2. 8x32", "3. 16x16", "4. 16x24", "5. 16x32",
    "6. 16x48", "7. 32x32", "8. 32x48" };

// The value an edit or combo exchanges; -1 for none.
int ValueOfControl(UINT id)
{
    for (int value = 0; value < kLabelValueCount; ++value)
        if (kControls[value].id == static_cast<int>(id))
            return value;
    return -1;
}

// The item whose X (or Y) value this is; -1 for none.
int ItemOfValue(int value, int LabelItemValueIndices::*member)
{
    for (int item = 0; item < kLabelItemCount; ++item)
        if (ItemValueIndices(item).*member == value)
            return item;
    return -1;
}

CComboBox* Combo(CWnd* bar, int id)
{
    return dynamic_cast<CComboBox*>(bar->GetDlgItem(id));
}

} // namespace

// ---- CInitDialogBar --------------------------------------------------------------

CInitDialogBar::CInitDialogBar() = default;
CInitDialogBar::~CInitDialogBar() = default;

const MessageMap* CInitDialogBar::GetMessageMap() const
{
    static const MessageMap kMap(
        CDialogBar::GetMessageMap(), { OnMessage<&CInitDialogBar::OnInitData>(WM_BAR_INITDATA) });
    return &kMap;
}

BOOL CInitDialogBar::Create(CWnd* parent, UINT templateId, UINT style, UINT id)
{
    if (!CDialogBar::Create(parent, templateId, style, id))
        return FALSE;
    PostMessage(WM_BAR_INITDATA);
    return TRUE;
}

void CInitDialogBar::DoDataExchange(CDataExchange*) { }

BOOL CInitDialogBar::UpdateData(BOOL saveAndValidate)
{
    return AfxRunDataExchange(this, saveAndValidate, [this](CDataExchange* dx) { DoDataExchange(dx); });
}

BOOL CInitDialogBar::OnInitDialogBar()
{
    return TRUE;
}

LRESULT CInitDialogBar::OnInitData(WPARAM, LPARAM)
{
    UpdateData(FALSE);
    OnInitDialogBar();
    return 0;
}

// ---- CLedLamp --------------------------------------------------------------------

CLedLamp::CLedLamp()
    : CStatusLamp(kBitmap)
{ }

// ---- CLabelDataBar ---------------------------------------------------------------

CLabelDataBar::CLabelDataBar()
    : m_values(LabelParameterTable())
    , m_savedValues(m_values)
{ }

CLabelDataBar::~CLabelDataBar() = default;

const MessageMap* CLabelDataBar::GetMessageMap() const
{
    static const MessageMap kMap(CInitDialogBar::GetMessageMap(),
        {
            OnControlRange<&CLabelDataBar::OnEditChanged>(EN_CHANGE, 1000, 1071),
            OnControlRange<&CLabelDataBar::OnComboChanged>(CBN_SELCHANGE, 1028, 1074),
            OnControl<&CLabelDataBar::OnAlone>(BN_CLICKED, kAloneRadio),
            OnControl<&CLabelDataBar::OnMulti>(BN_CLICKED, kMultiRadio),
            OnMessage<&CLabelDataBar::OnItemMoved>(WM_BAR_ITEM_MOVED),
            OnMessage<&CLabelDataBar::OnCassetteChanged>(WM_BAR_CASSETTE_LOADED),
            OnWm<WM_DESTROY, &CLabelDataBar::OnDestroy>(),
            OnMessage<&CLabelDataBar::OnSerialChar>(WM_SERIAL_CHAR),
            OnMessage<&CLabelDataBar::OnSerialError>(WM_SERIAL_ERROR),
            OnWm<WM_TIMER, &CLabelDataBar::OnTimer>(),
        });
    return &kMap;
}

BOOL CLabelDataBar::Create(CWnd* parent, UINT templateId, UINT style, UINT id)
{
    if (!CInitDialogBar::Create(parent, templateId, style, id))
        return FALSE;
    FillCombos();
    return TRUE;
}

void CLabelDataBar::FillCombos()
{
    for (const ValueControl& control : kControls) {
        CComboBox* combo = control.field == Field::Combo ? Combo(this, control.id) : nullptr;
        if (combo)
            combo->ResetContent();
    }
    for (int value : { 5, 8, 11, 14, 17, 20, 27, 30, 33, 39, 43, 47, 50 })
        if (CComboBox* combo = Combo(this, kControls[value].id)) {
            for (const char* font : kFonts)
                combo->AddString(font);
            if (value == 20 || value == 27)
                combo->AddString("9. 18x40");
        }
    const auto fill = [this](int id, std::initializer_list<const char*> entries) {
        if (CComboBox* combo = Combo(this, id))
            for (const char* entry : entries)
                combo->AddString(entry);
    };
    fill(1074, { "0. H : horizonal", "1. V1 : vertical 1", "2. V2 : vertical 2" });
    fill(1037,
        { "1. 16x16", "2. 16x32", "3. 32x32", "4. Rvs 16x16", "5. Rvs 16x32", "6. Rvs 32x32",
            "7. Not Print" });
    fill(1039, { "None", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10" });
    fill(1041, { "1", "2" });
    fill(kFormatCombo, { "2-5-5", "2-4-6" });
    if (CComboBox* format = Combo(this, kFormatCombo))
        format->SetCurSel(0);
}

void CLabelDataBar::ExchangeValues(CDataExchange* dx)
{
    for (int value = 0; value < kLabelValueCount; ++value) {
        const ValueControl& control = kControls[value];
        if (control.field == Field::Combo) {
            DDX_CBIndex(dx, control.id, m_values[value]);
            continue;
        }
        DDX_Text(dx, control.id, m_values[value]);
        if (control.field == Field::X)
            DDV_MinMaxInt(dx, m_values[value], 1, 700);
        else if (control.field == Field::Y)
            DDV_MinMaxInt(dx, m_values[value], 1, 1500);
    }
}

void CLabelDataBar::DoDataExchange(CDataExchange* dx)
{
    CInitDialogBar::DoDataExchange(dx);
    DDX_Control(dx, kTxLamp, m_txLamp);
    DDX_Control(dx, kRxLamp, m_rxLamp);
    // The settings are read at the first fill only: a later refresh must not
    // take back a port or link mode chosen since.
    if (!dx->m_bSaveAndValidate && !m_settingsLoaded) {
        m_settingsLoaded = TRUE;
        LoadTerminalSettings();
        if (m_portIndex < 0 || m_portIndex > 3)
            m_portIndex = 0;
    }
    ExchangeValues(dx);
    DDX_Text(dx, kScaleNumberEdit, m_scaleNumber);
    DDX_Text(dx, kFileNumberEdit, m_fileNumber);
    if (m_linkMode != 0 && m_linkMode != 1)
        m_linkMode = 0;
    DDX_Radio(dx, kAloneRadio, m_linkMode);
    if (CWnd* scale = GetDlgItem(kScaleNumberEdit))
        scale->EnableWindow(m_linkMode == 1);
    m_txLamp.SetState(CLedLamp::kIdleRow, CLedLamp::kOffColumn, 0);
    m_rxLamp.SetState(CLedLamp::kIdleRow, CLedLamp::kOffColumn, 0);
}

void CLabelDataBar::Announce(const LabelChangeNotice& notice)
{
    LabelChangeNotices().Post(notice);
    if (CWnd* main = AfxGetMainWnd())
        main->Invalidate();
    // The preview lies under the frame, not in the bar: repaint it too.
    if (CWnd* parent = GetParent())
        if (CWnd* pane = parent->GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST)))
            pane->Invalidate();
}

void CLabelDataBar::RefreshControls()
{
    UpdateData(FALSE);
    if (m_values[kValueLabelLength] >= 25 && m_values[kValueLabelLength] <= 150)
        Announce({ kSizeCodeLength, LabelChangeKind::LabelSize, m_values[kValueLabelLength], 0 });
    if (m_values[kValueLabelWidth] >= 10 && m_values[kValueLabelWidth] <= 64)
        Announce({ kSizeCodeWidth, LabelChangeKind::LabelSize, m_values[kValueLabelWidth], 0 });
    if (m_values[kValueGap] >= 15 && m_values[kValueGap] <= 30)
        Announce({ kSizeCodeLength, LabelChangeKind::Gap, m_values[kValueGap], 0 });
}

void CLabelDataBar::OnEditChanged(UINT id)
{
    const int value = ValueOfControl(id);
    if (value < 0 || kControls[value].field == Field::Combo || !UpdateData(TRUE))
        return;
    const int now = m_values[value];
    if (const int item = ItemOfValue(value, &LabelItemValueIndices::x); item >= 0 && now >= 1 && now <= 700) {
        Announce({ static_cast<std::uint32_t>(item), LabelChangeKind::MoveX, now, 0 });
    } else if (const int row = ItemOfValue(value, &LabelItemValueIndices::y);
               row >= 0 && now >= 1 && now <= 1500) {
        Announce({ static_cast<std::uint32_t>(row), LabelChangeKind::MoveY, now, 0 });
    } else if (value == kValueBarcodeLength && now <= kMaxBarcodeLength) {
        Announce({ kItemBarcode, LabelChangeKind::BarcodeLength, now == 0 ? 0 : now + 16, 0 });
    } else if (value == kValueLabelLength && now >= 25 && now <= 150) {
        Announce({ kSizeCodeLength, LabelChangeKind::LabelSize, now, 0 });
    } else if (value == kValueLabelWidth && now >= 10 && now <= 64) {
        Announce({ kSizeCodeWidth, LabelChangeKind::LabelSize, now, 0 });
    } else if (value == kValueGap && now >= 15 && now <= 30) {
        Announce({ kSizeCodeLength, LabelChangeKind::Gap, now, 0 });
    }
}

void CLabelDataBar::AnnounceFont(int item)
{
    const LabelItemValueIndices& at = ItemValueIndices(item);
    int lines = 0;
    if (item == kItemAddition)
        lines = m_values[at.lines];
    else if (item == kItemAdvertisement)
        lines = m_values[at.lines] + 1;
    Announce({ static_cast<std::uint32_t>(item), LabelChangeKind::Font, m_values[at.font], lines });
}

void CLabelDataBar::OnComboChanged(UINT id)
{
    if (id == static_cast<UINT>(kFormatCombo)) {
        AfxMessageBox("OK!!");
        return;
    }
    const int value = ValueOfControl(id);
    if (value < 0 || !UpdateData(TRUE))
        return;
    if (value == kValueBarcodeOrientation) {
        LabelParameterTable()[kValueBarcodeOrientation] = m_values[value];
        Announce({ kItemBarcode, LabelChangeKind::BarcodeOrientation, m_values[value], 0 });
    } else if (value == ItemValueIndices(kItemMark).font) {
        Announce({ kItemMark, LabelChangeKind::MarkSize, m_values[value], 0 });
    } else if (value == ItemValueIndices(kItemAddition).lines) {
        AnnounceFont(kItemAddition);
    } else if (value == ItemValueIndices(kItemAdvertisement).lines) {
        AnnounceFont(kItemAdvertisement);
    } else if (const int item = ItemOfValue(value, &LabelItemValueIndices::font); item >= 0) {
        AnnounceFont(item);
    }
}

void CLabelDataBar::SetLinkMode(int mode)
{
    m_linkMode = mode;
    if (CWnd* scale = GetDlgItem(kScaleNumberEdit))
        scale->EnableWindow(mode == 1);
}

void CLabelDataBar::OnAlone()
{
    SetLinkMode(0);
}

void CLabelDataBar::OnMulti()
{
    SetLinkMode(1);
}

LRESULT CLabelDataBar::OnItemMoved(WPARAM wParam, LPARAM lParam)
{
    const UINT code = wParam & 0xFF;
    const UINT which = (wParam >> 8) & 0xFF;
    const int x = HIWORD(static_cast<DWORD>(lParam));
    const int y = LOWORD(static_cast<DWORD>(lParam));
    if (code == 12 && which < static_cast<UINT>(kLabelItemCount)) {
        const LabelItemValueIndices& at = ItemValueIndices(static_cast<int>(which));
        m_values[at.x] = XTenthsFromDots(x);
        m_values[at.y] = YTenthsFromDots(y);
    } else if (code == 91 && which == kSizeCodeLength) {
        m_values[kValueLabelLength] = y;
    } else if (code == 91 && which == kSizeCodeWidth) {
        m_values[kValueLabelWidth] = y;
    } else if (code == 93 && which == kSizeCodeLength) {
        // Several tenths give the same dots: a gap that prints as the shown
        // one leaves the shown one as typed.
        if (YDotsFromTenths(m_values[kValueGap]) != YDotsFromTenths(y))
            m_values[kValueGap] = y;
    }
    RefreshControls();
    return 0;
}

LRESULT CLabelDataBar::OnCassetteChanged(WPARAM, LPARAM)
{
    m_values = LabelParameterTable();
    RefreshControls();
    return 0;
}

void CLabelDataBar::LoadTerminalSettings()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    m_bkColor = static_cast<int>(app->GetProfileInt(kSettings, "bkcolor", 0xFF0000));
    m_fgColor = static_cast<int>(app->GetProfileInt(kSettings, "fgcolor", 0xFFFF00));
    m_pos = static_cast<int>(app->GetProfileInt(kSettings, "pos", -1));
    m_pointSize = static_cast<int>(app->GetProfileInt(kSettings, "pointsize", 90));
    m_faceName = app->GetProfileString(kSettings, "facename", "Terminal");
    m_onTop = static_cast<int>(app->GetProfileInt(kSettings, "ontop", 0));
    m_portIndex = static_cast<int>(app->GetProfileInt(kSettings, "port", 1));
    m_flow = static_cast<int>(app->GetProfileInt(kSettings, "flow", 0));
    m_linkMode = static_cast<int>(app->GetProfileInt(kSettings, "alone", 0));
}

void CLabelDataBar::SaveTerminalSettings()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    app->WriteProfileInt(kSettings, "bkcolor", m_bkColor);
    app->WriteProfileInt(kSettings, "fgcolor", m_fgColor);
    app->WriteProfileInt(kSettings, "pos", m_pos);
    app->WriteProfileInt(kSettings, "pointsize", m_pointSize);
    app->WriteProfileString(kSettings, "facename", m_faceName);
    app->WriteProfileInt(kSettings, "ontop", m_onTop);
    app->WriteProfileInt(kSettings, "port", m_portIndex);
    app->WriteProfileInt(kSettings, "flow", m_flow);
    app->WriteProfileInt(kSettings, "alone", m_linkMode);
}

void CLabelDataBar::OnDestroy()
{
    SaveTerminalSettings();
    CloseSerialPort();
    CInitDialogBar::OnDestroy();
}

void CLabelDataBar::OnOpenLabelFile()
{
    CFileDialog dialog(TRUE, kLabelExtension, nullptr, OFN_HIDEREADONLY, kLabelFilter, this);
    dialog.m_ofn.lpstrTitle = "Open Label Infomation File";
    if (dialog.DoModal() == IDOK)
        ReadLabelFile(dialog.GetPathName());
}

BOOL CLabelDataBar::OnSaveLabelFileAs()
{
    if (m_values[kValueBarcodeLength] > kMaxBarcodeLength) {
        AfxMessageBox("Error - BarCode Length is : 0 ~ 75");
        return FALSE;
    }
    if (m_values[kValueLabelLength] < 30 || m_values[kValueLabelLength] > 150) {
        AfxMessageBox("Error - Label Length is : 30 ~ 150");
        return FALSE;
    }
    CFileDialog dialog(
        FALSE, kLabelExtension, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kLabelFilter, this);
    dialog.m_ofn.lpstrTitle = "Save as Label Infomation File";
    return dialog.DoModal() == IDOK && WriteLabelFile(dialog.GetPathName());
}

BOOL CLabelDataBar::SaveModified()
{
    return SaveEditsFirst(IsModified(), "label", [this] { return OnSaveLabelFileAs(); });
}

BOOL CLabelDataBar::WriteLabelFile(const CString& path)
{
    if (!UpdateData(TRUE))
        return FALSE;
    if (!ReplaceFile(path, EncodeLabelFile(m_values))) {
        AfxMessageBox("Can't Making the File");
        return FALSE;
    }
    m_savedValues = m_values;
    if (CWnd* main = AfxGetMainWnd())
        main->SetWindowText(path);
    AfxMessageBox("OK! File Saved");
    return TRUE;
}

BOOL CLabelDataBar::ReadLabelFile(const CString& path)
{
    const std::optional<ByteBuffer> bytes = ReadExistingFile(path, kLabelFileSize);
    if (!bytes) {
        AfxMessageBox("Can't Open File");
        return FALSE;
    }
    LabelValues read = m_values;
    if (const LabelFileError error = DecodeLabelFile(*bytes, read); error != LabelFileError::None) {
        AfxMessageBox(LabelFileErrorText(error));
        return FALSE;
    }
    if (const auto misfit = LabelValuesMisfit(read)) {
        AfxMessageBox(misfit->c_str());
        return FALSE;
    }
    m_values = m_savedValues = read;
    LabelParameterTable() = read;
    RefreshControls();
    Announce({ kSizeCodeLength, LabelChangeKind::WholeLabel, read[kValueLabelLength], 0 });
    if (CWnd* main = AfxGetMainWnd())
        main->SetWindowText(path);
    AfxMessageBox("Success File Open.");
    return TRUE;
}
