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
#include "platform/wnd/docview/doc.h"
#include "platform/wnd/docview/frame.h"
#include "platform/wnd/docview/winapp.h"

namespace {

enum class Field { Free, X, Y, Combo };

struct ValueControl {
    int id;
    Field field;
};

// The control of each value, in value order.
constexpr ValueControl kControls[kLabelValueCount] = {
    { IDC_LABEL_LENGTH, Field::Free },
    { IDC_LABEL_WIDTH, Field::Free },
    { IDC_LABEL_EDGE, Field::Free }, //
    { IDC_NAME_X, Field::X },
    { IDC_NAME_Y, Field::Y },
    { IDC_NAME_FONT, Field::Combo }, //
    { IDC_ORIGIN_X, Field::X },
    { IDC_ORIGIN_Y, Field::Y },
    { IDC_ORIGIN_FONT, Field::Combo }, //
    { IDC_PACK_DATE_X, Field::X },
    { IDC_PACK_DATE_Y, Field::Y },
    { IDC_PACK_DATE_FONT, Field::Combo }, //
    { IDC_LIMIT_DATE_X, Field::X },
    { IDC_LIMIT_DATE_Y, Field::Y },
    { IDC_LIMIT_DATE_FONT, Field::Combo }, //
    { IDC_PIECE_PRICE_X, Field::X },
    { IDC_PIECE_PRICE_Y, Field::Y },
    { IDC_PIECE_PRICE_FONT, Field::Combo }, //
    { IDC_WEIGHT_X, Field::X },
    { IDC_WEIGHT_Y, Field::Y },
    { IDC_WEIGHT_FONT, Field::Combo }, //
    { IDC_BARCODE_X, Field::X },
    { IDC_BARCODE_Y, Field::Y },
    { IDC_BARCODE_FONT, Field::Combo },
    { IDC_BARCODE_LENGTH, Field::Free }, //
    { IDC_TOTAL_PRICE_X, Field::X },
    { IDC_TOTAL_PRICE_Y, Field::Y },
    { IDC_TOTAL_PRICE_FONT, Field::Combo }, //
    { IDC_PLU_X, Field::X },
    { IDC_PLU_Y, Field::Y },
    { IDC_PLU_FONT, Field::Combo }, //
    { IDC_COUNT_X, Field::X },
    { IDC_COUNT_Y, Field::Y },
    { IDC_COUNT_FONT, Field::Combo }, //
    { IDC_SALE_KIND_X, Field::X },
    { IDC_SALE_KIND_Y, Field::Y },
    { IDC_SALE_KIND_FONT, Field::Combo }, //
    { IDC_ADDITION_X, Field::X },
    { IDC_ADDITION_Y, Field::Y },
    { IDC_ADDITION_FONT, Field::Combo },
    { IDC_ADDITION_LINES, Field::Combo }, //
    { IDC_ADV_X, Field::X },
    { IDC_ADV_Y, Field::Y },
    { IDC_ADV_FONT, Field::Combo },
    { IDC_ADV_LINES, Field::Combo }, //
    { IDC_VAT_X, Field::X },
    { IDC_VAT_Y, Field::Y },
    { IDC_VAT_FONT, Field::Combo }, //
    { IDC_PRICE_X, Field::X },
    { IDC_PRICE_Y, Field::Y },
    { IDC_PRICE_FONT, Field::Combo },
};

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

// The label file read or written names the main window and the document,
// whose title its print jobs carry.
void ShowLabelFile(const CString& path)
{
    CWnd* main = AfxGetMainWnd();
    if (!main)
        return;
    main->SetWindowText(path);
    if (auto* frame = dynamic_cast<CFrameWnd*>(main); frame && frame->GetActiveDocument())
        frame->GetActiveDocument()->SetTitle(
            path.Mid(std::max(path.ReverseFind('\\'), path.ReverseFind('/')) + 1));
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
            OnControlRange<&CLabelDataBar::OnEditChanged>(EN_CHANGE, IDC_NAME_X, IDC_PRICE_Y),
            OnControlRange<&CLabelDataBar::OnComboChanged>(CBN_SELCHANGE, IDC_NAME_FONT, IDC_BARCODE_FONT),
            OnControl<&CLabelDataBar::OnAlone>(BN_CLICKED, IDC_RS232_ALONE),
            OnControl<&CLabelDataBar::OnMulti>(BN_CLICKED, IDC_RS232_MULTI),
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
    fill(IDC_BARCODE_FONT, { "0. H : horizonal", "1. V1 : vertical 1", "2. V2 : vertical 2" });
    fill(IDC_SALE_KIND_FONT,
        { "1. 16x16", "2. 16x32", "3. 32x32", "4. Rvs 16x16", "5. Rvs 16x32", "6. Rvs 32x32",
            "7. Not Print" });
    fill(IDC_ADDITION_LINES, { "None", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10" });
    fill(IDC_ADV_LINES, { "1", "2" });
    fill(IDC_BARCODE_FORMAT, { "2-5-5", "2-4-6" });
    if (CComboBox* format = Combo(this, IDC_BARCODE_FORMAT))
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
    DDX_Control(dx, IDC_TX_LAMP, m_txLamp);
    DDX_Control(dx, IDC_RX_LAMP, m_rxLamp);
    // The settings are read at the first fill only: a later refresh must not
    // take back a port or link mode chosen since.
    if (!dx->m_bSaveAndValidate && !m_settingsLoaded) {
        m_settingsLoaded = TRUE;
        LoadTerminalSettings();
        if (m_portIndex < 0 || m_portIndex > 3)
            m_portIndex = 0;
    }
    ExchangeValues(dx);
    DDX_Text(dx, IDC_SCALE_NUMBER, m_scaleNumber);
    DDX_Text(dx, IDC_FILE_NUMBER, m_fileNumber);
    if (m_linkMode != 0 && m_linkMode != 1)
        m_linkMode = 0;
    DDX_Radio(dx, IDC_RS232_ALONE, m_linkMode);
    if (CWnd* scale = GetDlgItem(IDC_SCALE_NUMBER))
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
    if (id == static_cast<UINT>(IDC_BARCODE_FORMAT)) {
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
    if (CWnd* scale = GetDlgItem(IDC_SCALE_NUMBER))
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

BOOL CLabelDataBar::CheckSaveLimits() const
{
    if (m_values[kValueBarcodeLength] > kMaxBarcodeLength) {
        AfxMessageBox("Error - BarCode Length is : 0 ~ 75");
        return FALSE;
    }
    if (m_values[kValueLabelLength] < 30 || m_values[kValueLabelLength] > 150) {
        AfxMessageBox("Error - Label Length is : 30 ~ 150");
        return FALSE;
    }
    return TRUE;
}

BOOL CLabelDataBar::OnSaveLabelFileAs()
{
    if (!CheckSaveLimits())
        return FALSE;
    CFileDialog dialog(
        FALSE, kLabelExtension, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kLabelFilter, this);
    dialog.m_ofn.lpstrTitle = "Save as Label Infomation File";
    return dialog.DoModal() == IDOK && WriteLabelFile(dialog.GetPathName());
}

BOOL CLabelDataBar::SaveModified()
{
    return SaveEditsFirst(IsModified(), "label", [this] {
        if (m_strLabelPath.IsEmpty())
            return OnSaveLabelFileAs();
        return CheckSaveLimits() && WriteLabelFile(m_strLabelPath) ? TRUE : FALSE;
    });
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
    m_strLabelPath = path;
    ShowLabelFile(path);
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
    m_strLabelPath = path;
    LabelParameterTable() = read;
    RefreshControls();
    Announce({ kSizeCodeLength, LabelChangeKind::WholeLabel, read[kValueLabelLength], 0 });
    ShowLabelFile(path);
    AfxMessageBox("Success File Open.");
    return TRUE;
}
