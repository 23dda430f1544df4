#include "transfer/scale_register.h"

#include <vector>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "db/reply_row.h"
#include "db/sql_text.h"
#include "db/store_paths.h"
#include "grid/grid_ctrl.h"
#include "platform/wnd/controls/listctrl.h"
#include "transfer/comm_settings.h"

namespace {

constexpr const char* kRegisterColumns = "[scale_name], [ip], [com_port], [mg_id], [ID]";
constexpr const char* kAddressColumns = "[scale_num], [scale_name], [ip]";
constexpr const char* kScaleIdColumns = "[scale_num], [scale_name], [com_port]";
constexpr const char* kRootInfoColumns
    = "[Ethernet_Init], [Ethernet_Stat], [MyID], [IP], [MASK], [Destination_IP], [Destination_Port]";
constexpr const char* kInfoColumns
    = "[WeightNum], [PriceNum], [WeightUnit], [PresetPageSelect], [LimitTime], [LabelInfo], [ULabelInfo], "
      "[pos_flag], [BarCodePrintFormat], [BarCodePriceSelect], [ItemNameSorting], [ItemLandSorting], "
      "[CodeLand], [PrintAdvNum], [wLimtTotalInfo], [wLimitPntType]";

} // namespace

CString ScaleRegisterSql(const CString& columns, const CString& managerId)
{
    const CString sql = "SELECT " + columns + " FROM [ScaleMG]";
    return managerId == kAdministratorId ? sql : sql + " WHERE [mg_id] = " + SqlLiteral(managerId);
}

BOOL CScaleRegister::IsRecordKey(const CString& key)
{
    if (key.IsEmpty() || key.GetLength() > 10)
        return FALSE;
    for (int i = 0; i < key.GetLength(); ++i) {
        if (key[i] < '0' || key[i] > '9')
            return FALSE;
    }
    return TRUE;
}

CString CScaleRegister::TakeRequest(CString& requestName)
{
    const CMailboxDlg::Query query = m_pOwner->GetDbMailbox()->TakeQuery();
    requestName = query.name;
    return query.user;
}

void CScaleRegister::StartRead(const char* database, const CString& requestName, const CString& sql)
{
    CItemDbWorker* worker = m_pOwner->GetItemWorker();
    worker->OpenDatabase(database);
    worker->SendNamed(requestName, sql);
}

void CScaleRegister::SelectScales(const CString& columns)
{
    CString name;
    const CString managerId = TakeRequest(name);
    BeginRows();
    const CString list = columns.IsEmpty() ? CString(kRegisterColumns) : columns;
    StartRead(kManagerDatabase, name, ScaleRegisterSql(list, managerId));
}

void CScaleRegister::SelectScaleAddress(const CString&, const CString& columns, Transport mode)
{
    CString name;
    const CString managerId = TakeRequest(name);
    BeginRows();
    const CString list = !columns.IsEmpty()
        ? columns
        : CString(mode == Transport::Ethernet ? kAddressColumns : kScaleIdColumns);
    StartRead(kManagerDatabase, name, ScaleRegisterSql(list, managerId));
}

void CScaleRegister::SelectScaleRootInfo(const CString& columns)
{
    const CString name = m_pOwner->GetDbMailbox()->TakeQuery().name;
    BeginRows();
    const CString list = (columns.IsEmpty() ? CString(kRootInfoColumns) : columns) + ", [ID]";
    StartRead(kScaleSettingsDatabase, name, "SELECT " + list + " FROM [Scale_Root_Info]");
}

void CScaleRegister::SelectScaleInfo(const CString& columns)
{
    const CString name = m_pOwner->GetDbMailbox()->TakeQuery().name;
    BeginRows();
    const CString list
        = (columns.IsEmpty() ? CString(kInfoColumns) : columns) + ", [PriceUnit], [PassWord], [VAT], [ID]";
    StartRead(kScaleSettingsDatabase, name, "SELECT " + list + " FROM [Scale_Info]");
}

int CScaleRegister::SplitFields(const CString& row)
{
    std::vector<CString> fields(m_fields.size());
    const int count = SplitReplyRow(row, fields);
    std::copy(fields.begin(), fields.end(), m_fields.begin());
    return std::min(count, static_cast<int>(m_fields.size()));
}

void CScaleRegister::Acknowledge()
{
    m_pOwner->GetItemWorker()->Acknowledge();
}

void CScaleRegister::SplitRows(const CString& row)
{
    SplitFields(row);
    ++m_nRowCount;
    CListCtrl* list = m_pOwner->GetScaleList();
    if (m_nRowCount > 1 && list) {
        const int item = list->InsertItem(m_nRowCount - 2, m_fields[0]);
        for (int c = 1; c <= 4 && item >= 0; ++c)
            list->SetItemText(item, c, m_fields[static_cast<std::size_t>(c)]);
    }
    Acknowledge();
}

void CScaleRegister::FillScaleList(const CString& row)
{
    SplitFields(row);
    if (m_nRowCount == 0) {
        ++m_nRowCount;
        CString third = m_fields[2];
        third.MakeUpper();
        m_nAddressKind = third == "IP" ? 1 : 0;
        Acknowledge();
        return;
    }
    // A scale without an address (or scale ID) cannot be reached that way.
    const CString& address = m_fields[2];
    if (address != "NULL" && !address.IsEmpty()) {
        ++m_nRowCount;
        const char* format = nullptr;
        if (m_nLanguage == 1)
            format = m_nAddressKind ? "저울명 = %s, IP=%s" : "저울명 = %s, 저울 ID=%s";
        else
            format = m_nAddressKind ? "Scale name = %s, IP=%s" : "Scale name = %s, Scale ID=%s";
        const CString line = CString::Formatted(format, m_fields[1].GetString(), address.GetString());
        CCommSettings& settings = m_pOwner->GetCommSettings();
        settings.InsertRegistered(m_nRowCount - 2, line);
        if (m_pOwner->GetPickFirstScale()) {
            settings.AddChosen(settings.GetRegistered().front());
            m_pOwner->SetPickFirstScale(0);
        }
    }
    Acknowledge();
}

void CScaleRegister::FillSettingsGrid(const CString& row)
{
    const int count = SplitFields(row);
    ++m_nRowCount;
    CGridCtrl* grid = m_pOwner->GetGrid();
    if (m_nRowCount == 1) {
        m_nColumnCount = count + 1;
        m_nGridRow = 0;
        m_pOwner->SetGridColumnCount(m_nColumnCount);
        for (int c = 1; c < m_nColumnCount && grid; ++c)
            grid->SetItemText(0, c, m_fields[static_cast<std::size_t>(c - 1)]);
    } else if (grid) {
        ++m_nGridRow;
        const int r = m_pOwner->InsertGridRow(
            CString::Formatted("List %ld", static_cast<long>(m_nGridRow)), m_nGridRow);
        for (int c = 1; c < m_nColumnCount && r >= 0; ++c) {
            const CString& value = m_fields[static_cast<std::size_t>(c - 1)];
            grid->SetItemText(r, c, value == "-1" || value == "NULL" ? CString("0") : value);
        }
    }
    Acknowledge();
}

void CScaleRegister::FillScaleRootInfoGrid(const CString& row)
{
    FillSettingsGrid(row);
}

void CScaleRegister::FillScaleInfoGrid(const CString& row)
{
    FillSettingsGrid(row);
}

void CScaleRegister::RunWrite(const CString& sql)
{
    CItemDbWorker* worker = m_pOwner->GetItemWorker();
    // The request is the screen's query (its name as written), the text sql.
    const CString name = m_pOwner->GetDbMailbox()->TakeQuery().name;
    worker->OpenDatabase(kManagerDatabase);
    worker->RunNamed(name, sql);
}

void CScaleRegister::UpdateScale(const CString& number, const CString& name, const CString& ip,
    const CString& scaleId, const CString& managerId, const CString& key)
{
    if (!IsRecordKey(key)) {
        m_pOwner->GetItemWorker()->ClearRequestName();
        return;
    }
    RunWrite(CString::Formatted("UPDATE [ScaleMG] SET [scale_num] = '%s', [scale_name] = '%s', [ip] = '%s', "
                                "[com_port] = '%s', [mg_id] = '%s' WHERE [ID] = %s",
        SqlEscape(number).GetString(), SqlEscape(name).GetString(), SqlEscape(ip).GetString(),
        SqlEscape(scaleId).GetString(), SqlEscape(managerId).GetString(), key.GetString()));
}

void CScaleRegister::InsertScale(const CString& number, const CString& name, const CString& ip,
    const CString& scaleId, const CString& managerId)
{
    RunWrite(CString::Formatted("INSERT INTO [ScaleMG]([scale_num], [scale_name], [ip], [com_port],[mg_id]) "
                                "VALUES('%s', '%s', '%s', '%s', '%s')",
        SqlEscape(number).GetString(), SqlEscape(name).GetString(), SqlEscape(ip).GetString(),
        SqlEscape(scaleId).GetString(), SqlEscape(managerId).GetString()));
}

void CScaleRegister::DeleteScale(const CString& key)
{
    if (!IsRecordKey(key)) {
        m_pOwner->GetItemWorker()->ClearRequestName();
        return;
    }
    RunWrite("DELETE FROM [ScaleMG] WHERE [ID] = " + key);
}
