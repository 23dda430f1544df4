#pragma once
// Whole serial transfers against simulated scales on a pseudo-terminal: a
// stand-in work screen, the line, the frames the scales received and the
// message boxes shown.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/dao/dao_database.h"
#include "platform/dao/dao_recordset.h"
#include "platform/serial/serial_port.h"
#include "platform/wnd/core/msgbox.h"
#include "protocol/scale_records.h"
#include "resources/calvorn_ids.h"
#include "tests/serial/serial_screen.h"
#include "tests/support/scale_sim.h"
#include "tests/support/serial_scale_model.h"
#include "tests/support/store_password.h"
#include "tests/support/ui_pump.h"

namespace serialtest {

using scalesim::Bytes;
using scalesim::SerialFrame;
using scalesim::SerialReply;
using scalesim::SerialScaleModel;

inline constexpr int kPort = 3;
inline constexpr std::uint16_t kJoinMark = 0xFFFF; // a join frame in Commands()
inline constexpr std::uint16_t kClear = 0x0002;
inline constexpr std::uint16_t kRecord = 0x0003;
inline constexpr std::uint16_t kRequestOne = 0x0004;
inline constexpr std::uint16_t kData = 0x0005;
inline constexpr std::uint16_t kRequestAll = 0x0006;
inline constexpr std::uint16_t kNak = 0x0100;
inline constexpr std::uint16_t kAck = 0x0101;
inline constexpr std::uint16_t kEndJoin = 0x0400;
inline constexpr std::uint16_t kBroadStart = 0x0500;
inline constexpr std::uint16_t kStatusRequest = 0x0501;
inline constexpr std::uint16_t kStatusReply = 0x0502;
inline constexpr std::uint16_t kResetScale = 0x4130;

inline std::vector<std::string> ItemRow(int number, const std::string& name, int price)
{
    return { std::to_string(number), name, "NULL", std::to_string(price), "0", "3", "27", "123", "2", "500",
        "1", "1", "1", "7", "12" };
}

// Grid rows of items 1 to count.
inline std::vector<std::vector<std::string>> ItemRows(int count)
{
    std::vector<std::vector<std::string>> rows;
    for (int n = 1; n <= count; ++n)
        rows.push_back(ItemRow(n, "item", n));
    return rows;
}

inline Bytes PluPayload(int number, const std::string& name, int price)
{
    RecordRow row { "" };
    for (const std::string& cell : ItemRow(number, name, price))
        row.push_back(cell);
    return BuildPluRecord(row).Payload();
}

inline Bytes TextPayload(TableCode table, std::uint32_t number, const std::string& text)
{
    TextRecord record;
    record.table = table;
    record.number = number;
    record.text = text;
    return record.Encode();
}

// A line of the chosen-scale list.
inline CString Line(const std::string& id)
{
    return CString(("Scale name = S" + id + ", Scale ID=" + id).c_str());
}

// The commands of frames, kJoinMark for a join frame.
inline std::vector<std::uint16_t> Commands(const std::vector<SerialFrame>& frames)
{
    std::vector<std::uint16_t> out;
    for (const SerialFrame& f : frames)
        out.push_back(f.join ? kJoinMark : f.command);
    return out;
}

// "J@07" for a join, "<command>@<id>" for a link frame.
inline std::vector<std::string> Addressed(const std::vector<SerialFrame>& frames)
{
    std::vector<std::string> out;
    for (const SerialFrame& f : frames)
        out.push_back((f.join ? std::string("J") : std::to_string(f.command)) + "@" + f.scaleId);
    return out;
}

// The ending of scale id's session: how it ended, and how far it got.
inline std::string Ending(const std::string& id, const std::string& how, const std::string& count)
{
    return "S" + id + " (ID " + id + "): " + how + ", " + count;
}

class SerialTransferTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_screen = std::make_unique<SerialScreen>();
        m_screen->Engine().SetReplyTimeout(2000);
        m_screen->Link().SetPause(2); // short, and not the id of the engine's timer
    }
    void TearDown() override
    {
        m_screen.reset();
        m_line.Stop();
        SetSerialDevicePath(kPort, "");
    }
    void StartLine(SerialScaleModel& model) { StartScript(model.Script()); }
    void StartScript(scalesim::SerialScript script)
    {
        ASSERT_TRUE(m_line.Start(std::move(script)));
        SetSerialDevicePath(kPort, m_line.DevicePath());
    }
    void Begin(TransferCommand command, DataKind kind, TransferScope scope, std::vector<CString> scales)
    {
        TransferOrder order;
        order.link = TransferLink::Serial;
        order.command = command;
        order.kind = kind;
        order.scope = scope;
        order.scales = ParseScaleLines(scales);
        order.comPort = kPort;
        order.oneByOne = m_oneByOne;
        m_screen->StartWalk(order);
    }
    void Run(TransferCommand command, DataKind kind, TransferScope scope, std::vector<CString> scales)
    {
        Begin(command, kind, scope, std::move(scales));
        ASSERT_TRUE(PumpUntil([&] { return !m_screen->Transfer().IsRunning(); }, std::chrono::seconds(20)))
            << "the walk did not end; step " << m_screen->GetSerialText(IDC_SERIAL_STEP).GetString();
    }
    // Frames the scales received from the PC, with their commands and IDs.
    std::vector<SerialFrame> Frames() const { return m_line.Received(); }
    // The message boxes shown; a read's ending without the file it names.
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> out;
        for (const MessageBoxRecord& r : m_boxes.Records()) {
            const std::string text = r.text.GetString();
            out.push_back(text.substr(0, text.find(" stored in ")));
        }
        return out;
    }
    static std::vector<std::string> Rows(const std::string& path, const char* sql)
    {
        CDaoDatabase db;
        db.Open(path.c_str(), FALSE, FALSE, kStoreConnect);
        CDaoRecordset rs(&db);
        rs.Open(AFX_DAO_USE_DEFAULT_TYPE, sql);
        std::vector<std::string> out;
        for (; !rs.IsEOF(); rs.MoveNext()) {
            std::string row;
            for (short i = 0; i < rs.GetFieldCount(); ++i) {
                const COleVariant v = rs.GetFieldValue(i);
                row += (i ? "|" : "") + (v.vt == VT_BSTR ? v.bstrVal.Str() : std::string("?"));
            }
            out.push_back(row);
        }
        rs.Close();
        db.Close();
        return out;
    }
    void ExpectWalkEnded() const
    {
        EXPECT_EQ(m_screen->m_transferActive, 0);
        EXPECT_TRUE(m_screen->m_itemButtons);
        EXPECT_TRUE(m_screen->m_scaleButtons);
        EXPECT_FALSE(m_screen->m_stopButton);
        EXPECT_FALSE(m_screen->Engine().IsPortOpen());
    }

    BOOL m_oneByOne = FALSE; // a send to several scales goes to each in turn
    ScopedMessageBoxScript m_boxes;
    scalesim::SerialScale m_line;
    std::unique_ptr<SerialScreen> m_screen;
};

} // namespace serialtest
