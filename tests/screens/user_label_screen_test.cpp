#include <cstdlib>

#include "platform/base/datetime.h"
#include "platform/dao/dao_database.h"
#include "platform/serial/serial_port.h"
#include "protocol/scale_records.h"
#include "resources/calvorn_ids.h"
#include "screens/transfer_ports.h"
#include "serial/scale_link.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_transfer.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/scale_memory.h"
#include "tests/support/serial_scale_model.h"

// The user labels screen: rows inserted, edited and deleted through its
// buttons with the database following; labels sent to and read from scales
// over TCP and RS-232, the scales' records checked against the grid.

namespace {

using scalesim::ScaleMemory;
using scalesim::SerialScaleModel;
using scalesim::TcpScale;

constexpr int kPort = 5;
constexpr std::uint8_t kUserLabelTable = 4;

// The 48 value columns after file_num, in table order.
CString ValueColumns()
{
    CString list;
    for (const char* column : ReceivedUserLabelColumns().subspan(1, 48))
        list += CString(list.IsEmpty() ? "" : ", ") + "[" + column + "]";
    return list;
}

// An INSERT of a label whose value in column c (1-based after file_num) is
// base + c, with kinds, form and lines kept small.
CString LabelInsert(int fileNum, int base, const char* user)
{
    CString values;
    for (int c = 1; c <= 48; ++c) {
        const int grid = c + 1;
        const bool small = grid == 22 || grid == 23;
        values += CString::Formatted(", '%d'", small ? (base + c) % 3 : base + c);
    }
    return CString::Formatted("INSERT INTO [UserLabel]([file_num], ", 0) + ValueColumns()
        + CString::Formatted(", [mg_id]) VALUES('%d'", fileNum) + values + ", '" + user + "')";
}

class UserLabelScreenTest : public WorkScreenFixture {
protected:
    void TearDown() override
    {
        AfxSetClock(nullptr);
        m_line.Stop();
        SetSerialDevicePath(kPort, "");
        WorkScreenFixture::TearDown();
    }
    CString LabelsOf(std::initializer_list<std::pair<int, const char*>> labels)
    {
        const CString db = MakeItemDatabase();
        std::vector<CString> sql;
        int base = 100;
        for (const auto& [file, user] : labels) {
            sql.push_back(LabelInsert(file, base, user));
            base += 100;
        }
        Execute(db, sql);
        return db;
    }
    void UseTransports(Transport mode)
    {
        m_screen->Transfers().SetTransferPort(m_screen->Transfers().GetTransports());
        m_screen->Transfers().GetTransports()->Jobs().SetTimings({ 250, 2000, 1000 });
        m_screen->Transfers().GetSerialTransfer()->GetEngine().SetReplyTimeout(2000);
        m_screen->Transfers().GetSerialTransfer()->GetLink().SetPause(1);
        m_screen->Scales().CommSettings().SelectMode(mode);
        ChooseComPort(kPort);
    }
    bool WaitForTransfers()
    {
        return PumpUntil(
            [&] {
                return m_screen->Transfers().GetTransports()->Jobs().JobCount() == 0
                    && !m_screen->Transfers().GetSerialTransfer()->IsRunning();
            },
            std::chrono::milliseconds(10000));
    }
    std::vector<CString> Boxes() const
    {
        std::vector<CString> out;
        for (const MessageBoxRecord& r : MessageBoxScript::Records())
            out.push_back(r.text);
        return out;
    }
    int GridNumber(int row, int column) const
    {
        return std::atoi(Grid().GetItemText(row, column).GetString());
    }
    // Every field of a record against grid row row.
    void ExpectRecordOfRow(const UserLabelRecord& r, int row) const
    {
        EXPECT_EQ(r.fileNum, static_cast<std::uint32_t>(GridNumber(row, 1)));
        const std::pair<const LabelFieldPosition*, int> fields[]
            = { { &r.itemName, 2 }, { &r.origin, 5 }, { &r.packDate, 8 }, { &r.limitDate, 11 },
                  { &r.piecePrice, 14 }, { &r.weight, 17 }, { &r.price, 24 }, { &r.itemNum, 27 },
                  { &r.count, 30 }, { &r.additem, 33 }, { &r.adv, 37 }, { &r.vat, 44 }, { &r.vatPrice, 47 } };
        for (const auto& [field, column] : fields) {
            EXPECT_EQ(field->x, LabelXToDots(GridNumber(row, column))) << column;
            EXPECT_EQ(field->y, LabelYToDots(GridNumber(row, column + 1))) << column;
            EXPECT_EQ(field->kind, GridNumber(row, column + 2)) << column;
        }
        EXPECT_EQ(r.barcodeX, LabelXToDots(GridNumber(row, 20)));
        EXPECT_EQ(r.barcodeY, LabelYToDots(GridNumber(row, 21)));
        EXPECT_EQ(r.barcodeForm, GridNumber(row, 22));
        EXPECT_EQ(r.barcodeLength, GridNumber(row, 23));
        EXPECT_EQ(r.additemLine, GridNumber(row, 36));
        EXPECT_EQ(r.advLine, GridNumber(row, 40));
        EXPECT_EQ(r.labelX, GridNumber(row, 41));
        EXPECT_EQ(r.labelY, GridNumber(row, 42) * 10);
        EXPECT_EQ(r.labelGap, GridNumber(row, 43));
    }
    static UserLabelRecord Decoded(const scalesim::Bytes& payload)
    {
        UserLabelRecord r;
        EXPECT_TRUE(UserLabelRecord::Decode(payload, r));
        return r;
    }

    scalesim::SerialScale m_line;
};

TEST_F(UserLabelScreenTest, InsertEditAndDeleteFollowTheDatabase)
{
    const CString db = LabelsOf({ { 3, "kim" }, { 4, "lee" }, { 5, "kim" } });
    Switch(Screen::UserLabel, "User_Label_Read", "kim", db);
    ASSERT_EQ(Grid().GetRowCount(), 4); // heading, kim's two labels, trailing row
    EXPECT_TRUE(
        Visible(IDC_WORK_LABEL_INSERT) && Visible(IDC_WORK_LABEL_IMAGE) && Visible(IDC_WORK_LABEL_RECV));
    const int key = ColumnOf("ID");
    ASSERT_EQ(key, 50);

    // With no row picked the new row goes in front of the trailing row.
    ClickControl(IDC_WORK_LABEL_INSERT);
    ASSERT_EQ(Grid().GetRowCount(), 5);
    EXPECT_EQ(Grid().GetItemText(3, 0), "List 3");
    const CString id = Grid().GetItemText(3, key);
    EXPECT_EQ(
        FirstRow(db, "SELECT [file_num], [mg_id] FROM [UserLabel] WHERE [ID] = " + id), "-1\tjo/kim\tjo/");
    // A picked row takes the next insert at its place.
    ClickCell(1, 2);
    ClickControl(IDC_WORK_LABEL_INSERT);
    ASSERT_EQ(Grid().GetRowCount(), 6);
    const CString second = Grid().GetItemText(1, key);
    EXPECT_GT(std::atoi(second.GetString()), std::atoi(id.GetString()));

    EditCell(4, 2, "40");
    EXPECT_EQ(FirstRow(db, "SELECT [item_nameX] FROM [UserLabel] WHERE [ID] = " + id), "40\tjo/");
    // An emptied cell shows 0.
    EditCell(4, 3, "");
    EXPECT_EQ(Grid().GetItemText(4, 3), "0");

    ClickCell(4, 3);
    ClickControl(IDC_WORK_LABEL_DELETE);
    ASSERT_EQ(Grid().GetRowCount(), 5);
    EXPECT_EQ(FirstRow(db, "SELECT [ID] FROM [UserLabel] WHERE [ID] = " + id), "FALSE");
    EXPECT_EQ(Column(db, "SELECT [ID] FROM [UserLabel] WHERE [ID] = " + second).size(), 1u);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(Enabled(IDC_WORK_LABEL_INSERT) && Enabled(IDC_WORK_LABEL_DELETE));
    // With no row picked Delete takes the last label row.
    Switch(Screen::UserLabel, "User_Label_Read", "kim", db);
    const CString last = Grid().GetItemText(Grid().GetRowCount() - 2, key);
    ClickControl(IDC_WORK_LABEL_DELETE);
    EXPECT_EQ(FirstRow(db, "SELECT [ID] FROM [UserLabel] WHERE [ID] = " + last), "FALSE");
    EXPECT_EQ(Column(db, "SELECT [ID] FROM [UserLabel] WHERE [mg_id] = 'kim'").size(), 2u);
}

TEST_F(UserLabelScreenTest, TheUserColumnIsLeftOutWhereverTheTableHasIt)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "DROP TABLE [UserLabel]",
            "CREATE TABLE [UserLabel] ([mg_id] TEXT(50), [file_num] TEXT(50), [ID] COUNTER, "
            "CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]))",
            "INSERT INTO [UserLabel]([mg_id], [file_num]) VALUES('kim', '7')" });
    Switch(Screen::UserLabel, "User_Label_Read", "kim", db);
    EXPECT_EQ(RowTexts(0), (std::vector<CString> { "file_num", "ID" }));
    EXPECT_EQ(RowTexts(1), (std::vector<CString> { "7", "1" }));
}

TEST_F(UserLabelScreenTest, AFailedInsertTakesItsRowAwayAndNoEarlierIdIsReused)
{
    const CString db = LabelsOf({ { -1, "kim" } });
    Switch(Screen::UserLabel, "User_Label_Read", "kim", db);
    const int rows = Grid().GetRowCount();
    MessageBoxScript::Reset();
    CDaoDatabase::TEST_InjectFault(DaoFault::DiskFull);
    ClickControl(IDC_WORK_LABEL_INSERT);
    EXPECT_EQ(Grid().GetRowCount(), rows);
    const std::vector<CString> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(MessageBoxScript::Records()[0].type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(boxes[1], "User Label Insert Error");
    EXPECT_FALSE(Locked());
    EXPECT_TRUE(Enabled(IDC_WORK_LABEL_INSERT) && Enabled(IDC_WORK_LABEL_DELETE));
}

TEST_F(UserLabelScreenTest, ADeleteThatFailsKeepsTheRow)
{
    const CString db = LabelsOf({ { 3, "vexo" }, { 4, "vexo" } });
    Switch(Screen::UserLabel, "User_Label_Read", "vexo", db);
    MessageBoxScript::Reset();
    ClickCell(1, 2);
    CDaoDatabase::TEST_InjectFault(DaoFault::Locked);
    ClickControl(IDC_WORK_LABEL_DELETE);
    EXPECT_EQ(Grid().GetRowCount(), 4);
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Column(db, "SELECT [ID] FROM [UserLabel]").size(), 2u);
    MessageBoxScript::Reset();
    ClickCell(3, 2);
    ClickControl(IDC_WORK_LABEL_DELETE);
    EXPECT_EQ(Grid().GetRowCount(), 4);
    ClickCell(2, 2);
    ClickControl(IDC_WORK_LABEL_DELETE);
    EXPECT_EQ(Grid().GetRowCount(), 3);
    EXPECT_EQ(Column(db, "SELECT [file_num] FROM [UserLabel]"), std::vector<CString> { "3" });
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(UserLabelScreenTest, TcpSendsReachEveryScaleAndAReceiveFillsTheDatabaseOfTheHour)
{
    UseTransports(Transport::Ethernet);
    SetLocalClock(2024, 3, 9, 14, 5);
    const CString db = LabelsOf({ { 3, "vexo" }, { 8, "vexo" } });
    Switch(Screen::UserLabel, "User_Label_Read", "vexo", db);
    ScaleMemory first;
    ScaleMemory second;
    TcpScale a;
    TcpScale b;
    ASSERT_TRUE(a.Start(first.Script()));
    ASSERT_TRUE(b.Start(second.Script()));
    m_screen->Scales().CommSettings().SetChosen({ CString("Scale name = A, IP=") + a.Address().c_str(),
        CString("Scale name = B, IP=") + b.Address().c_str() });

    // Trans asks first; No sends nothing.
    MessageBoxScript::Reset();
    MessageBoxScript::PushAnswer(IDNO);
    ClickControl(IDC_WORK_LABEL_TRANS_ALL);
    EXPECT_EQ(Boxes(), std::vector<CString> { "All item Data Delete, Are you OK?" });
    MessageBoxScript::PushAnswer(IDYES);
    ClickControl(IDC_WORK_LABEL_TRANS_ALL);
    ASSERT_TRUE(WaitForTransfers());
    for (const ScaleMemory* memory : { &first, &second }) {
        const auto table = memory->Table(kUserLabelTable);
        ASSERT_EQ(table.size(), 2u);
        ExpectRecordOfRow(Decoded(table.at(3)), 1);
        ExpectRecordOfRow(Decoded(table.at(8)), 2);
        EXPECT_EQ(memory->Clears(kUserLabelTable), 1);
    }

    // Select Trans sends the picked row without clearing.
    ScaleMemory third;
    TcpScale c;
    ASSERT_TRUE(c.Start(third.Script()));
    m_screen->Scales().CommSettings().SetChosen({ CString("Scale name = C, IP=") + c.Address().c_str() });
    ClickCell(2, 3);
    ClickControl(IDC_WORK_LABEL_TRANS_SELECT);
    ASSERT_TRUE(WaitForTransfers());
    const auto sent = third.Table(kUserLabelTable);
    ASSERT_EQ(sent.size(), 1u);
    ExpectRecordOfRow(Decoded(sent.at(8)), 2);
    EXPECT_EQ(third.Clears(kUserLabelTable), 0);

    // Receive: the scale's labels land in the received-data database of the hour.
    ClickControl(IDC_WORK_LABEL_RECV);
    ASSERT_TRUE(WaitForTransfers());
    const CString target
        = CString("C:\\ZUVAR\\ScaleData\\2024-03-09\\14Hour\\") + c.Address().c_str() + ".mdb";
    const UserLabelRecord r = Decoded(sent.at(8));
    EXPECT_EQ(FirstRow(target,
                  "SELECT [file_num], [item_nameX], [item_nameKind], [barcode form], [labelX], [labelY], "
                  "[label_Gab] FROM [UserLabel]"),
        CString::Formatted("8\tjo/%d\tjo/%d\tjo/%d\tjo/%d\tjo/%d\tjo/%d\tjo/", LabelXFromDots(r.itemName.x),
            r.itemName.kind, r.barcodeForm, r.labelX, r.labelY / 10, r.labelGap));
}

TEST_F(UserLabelScreenTest, SerialSendsToTwoScalesBroadcastAndAReceiveWalksThem)
{
    UseTransports(Transport::Serial);
    SetLocalClock(2024, 3, 9, 9, 0);
    const CString db = LabelsOf({ { 3, "vexo" }, { 8, "vexo" } });
    Switch(Screen::UserLabel, "User_Label_Read", "vexo", db);
    SerialScaleModel model({ "07", "08" });
    ASSERT_TRUE(m_line.Start(model.Script()));
    SetSerialDevicePath(kPort, m_line.DevicePath());
    m_screen->Scales().CommSettings().SetChosen(
        { "Scale name = A, Scale ID=7", "Scale name = B, Scale ID=8" });

    ClickCell(1, 2);
    ClickControl(IDC_WORK_LABEL_TRANS_SELECT);
    ASSERT_TRUE(WaitForTransfers());
    for (const char* id : { "07", "08" }) {
        const auto table = model.TablesOf(id)[kUserLabelTable];
        ASSERT_EQ(table.size(), 1u) << id;
        ExpectRecordOfRow(Decoded(table.at(3)), 1);
    }

    MessageBoxScript::Reset();
    ClickControl(IDC_WORK_LABEL_RECV);
    ASSERT_TRUE(WaitForTransfers());
    // Each scale's rows go into its own database, named by its ID.
    for (const char* id : { "07", "08" })
        EXPECT_EQ(Column(CString("C:\\ZUVAR\\ScaleData\\2024-03-09\\9Hour\\") + id + ".mdb",
                      "SELECT [file_num] FROM [UserLabel]"),
            (std::vector<CString> { "3" }))
            << id;
}

} // namespace
