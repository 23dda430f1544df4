#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/dao_helper.h"
#include "db/general_dao_helper.h"
#include "platform/wnd/core/msgbox.h"
#include "protocol/scale_records.h"
#include "tests/support/temp_folder.h"
#include "transfer/received_record_store.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every row of sql, each value followed by the helper's value end.
std::vector<std::string> Rows(const std::string& path, const char* sql)
{
    CGeneralDaoHelper db;
    db.OpenDatabase(path.c_str());
    std::vector<std::string> out;
    for (int i = 0;; ++i) {
        const CString row = db.GetRecordAt(sql, i);
        if (row.IsEmpty() || row == kDbNoRows)
            break;
        out.push_back(row.Str());
    }
    db.CloseDatabase();
    return out;
}

std::string Values(std::initializer_list<std::string> values)
{
    std::string joined;
    for (const std::string& v : values)
        joined += v + kDbValueEnd;
    return joined;
}

Bytes Item(int number)
{
    return BuildPluRecord(
        { "", std::to_string(number), "A", "", "1", "0", "12", "1", "27", "1", "0", "0", "0", "0", "0", "0" })
        .Payload();
}

// A record is stored whole or refused with its box; text lines are cut to
// their column at a character boundary and counted. Both transports store
// through here.
TEST(ReceivedRecordStore, ARecordIsStoredWholeOrRefusedAndLongLinesAreCut)
{
    std::string korean;
    for (int i = 0; i < 35; ++i)
        korean += "가";
    struct Case {
        const char* name;
        RecordKind kind;
        Bytes payload;
        UINT base; // the template the database is made of, 0 for none
        const char* sql;
        std::vector<std::string> rows;
        const char* box; // the refusal's start, nullptr for none
        int cut;
    };
    const Case cases[] = {
        { "an item", RecordKind::Item, Item(7), 150, "SELECT [item_num] FROM [Item]", { Values({ "7" }) },
            nullptr, 0 },
        { "an item too short", RecordKind::Item, Bytes { 1, 1, 2, 0, 0, 0 }, 150,
            "SELECT [item_num] FROM [Item]", {}, "A record from the scale was not stored: ", 0 },
        { "no database", RecordKind::Item, Item(7), 0, nullptr, {}, "", 0 },
        // The row refused by the database (the managers database has no item table).
        { "no item table", RecordKind::Item, Item(7), 152, nullptr, {}, "", 0 },
        { "long lines", RecordKind::Add,
            BuildTextRecord(TableCode::Add, { "", "1", std::string(70, 'x'), korean + "x" }).Encode(), 150,
            "SELECT [num], [str1], [str2] FROM [Add]",
            { Values({ "1", std::string(60, 'x'), korean + "x" }) }, nullptr, 1 },
        { "advertisement lines of 50 and 51", RecordKind::AdvT,
            BuildTextRecord(TableCode::AdvT, { "", "2", std::string(50, 'a'), std::string(51, 'b') })
                .Encode(),
            150, "SELECT [adv_num], [str1], [str2] FROM [AdvT]",
            { Values({ "2", std::string(50, 'a'), std::string(50, 'b') }) }, nullptr, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = c.base != 0 ? folder.FromTemplate(c.base, "received.mdb")
                                             : folder.File("no such folder/received.mdb");
        std::vector<CString> requests;
        std::vector<CString> boxes;
        int cut = 0;
        CReceivedRecordStore store;
        const BOOL stored = store.Store(
            path.c_str(), c.kind, c.payload, RecordContext { "kim", "2026-12-10", "127.0.0.1" },
            RecordCarriage::Tcp, [&](const CString& request, const CString&) { requests.push_back(request); },
            [&](const CString& text, UINT type) {
                boxes.push_back(text);
                EXPECT_EQ(type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
            },
            &cut);
        EXPECT_EQ(stored != FALSE, c.box == nullptr);
        ASSERT_EQ(boxes.size(), c.box == nullptr ? 0u : 1u);
        if (c.box != nullptr) {
            EXPECT_TRUE(boxes[0].View().starts_with(c.box)) << boxes[0].Str();
        }
        if (c.sql != nullptr) {
            EXPECT_EQ(Rows(path, c.sql), c.rows);
        }
        EXPECT_EQ(cut, c.cut);
        if (stored) {
            EXPECT_EQ(requests, std::vector<CString> { "ITEM_REV" });
        }
    }
}

} // namespace
