#pragma once
// A work screen stand-in with its TCP transfer jobs, item rows and payloads for
// the simulated scales, and a database of received rows read back.

#include <gtest/gtest.h>

#include "db/general_dao_helper.h"
#include "ethernet/transfer_jobs.h"
#include "protocol/scale_records.h"
#include "tests/support/fake_transfer_host.h"
#include "tests/support/scale_memory.h"
#include "tests/support/temp_folder.h"
#include "tests/support/ui_pump.h"

namespace transfertest {

using scalesim::Bytes;
using scalesim::ScaleMemory;
using scalesim::TcpReply;
using scalesim::TcpScale;

constexpr std::uint8_t kPlu = 0;
constexpr TransferTimings kFast { 250, 2000, 1000 };

inline std::vector<CString> ItemRow(int number, const CString& name, int price)
{
    return { "List", CString::Formatted("%d", number), name, "NULL", CString::Formatted("%d", price), "0",
        "12", "1", "27", "1", "0", "0", "0", "0", "0", "0" };
}

inline Bytes PluPayload(int number, const std::string& name, int price)
{
    RecordRow row { "", std::to_string(number), name, "", std::to_string(price), "0", "12", "1", "27", "1",
        "0", "0", "0", "0", "0", "0" };
    return BuildPluRecord(row).Payload();
}

// The stand-in work screen, whose Stop button can be pressed at the moment the
// progress field shows a given text (a record being sent, a count received).
class StoppingHost : public FakeTransferHost {
public:
    using FakeTransferHost::FakeTransferHost;
    void ShowTransferProgress(const CString& text) override
    {
        FakeTransferHost::ShowTransferProgress(text);
        if (!stopAtProgress.IsEmpty() && text == stopAtProgress)
            ethernetStop = 1;
    }
    CString stopAtProgress;
};

class TransferJobsTest : public ::testing::Test {
protected:
    TransferJobsTest()
        : m_host(kFast)
    { }

    // One job per scale.
    BOOL Start(TransferCommand direction, DataKind kind, TransferScope selection,
        const std::vector<const TcpScale*>& scales, std::vector<int> numbers = {})
    {
        TransferOrder order;
        order.command = direction;
        order.kind = kind;
        order.scope = selection;
        for (const TcpScale* s : scales)
            order.scales.push_back(ScaleAt(CString(s->Address()), {}, m_dbPath));
        order.receiveNumbers = std::move(numbers);
        return m_host.StartJobs(order);
    }
    bool WaitForEnd(std::chrono::milliseconds deadline = std::chrono::milliseconds(8000))
    {
        return PumpUntil([&] { return m_host.jobs->JobCount() == 0; }, deadline);
    }
    std::vector<CString> Texts() const
    {
        std::vector<CString> out;
        for (const MessageBoxRecord& r : m_boxes.Records())
            out.push_back(r.text);
        return out;
    }
    // The ending of a job that did not go through, as the program words it.
    static CString Sent(const TcpScale& scale, const char* how, int sent, int total)
    {
        return CString::Formatted(
            "%s: %s, %d of %d records sent.", scale.Address().c_str(), how, sent, total);
    }
    CString Stored(const TcpScale& scale, const char* how, int stored) const
    {
        return CString::Formatted(
            "%s: %s, receive incomplete: %s.", scale.Address().c_str(), how, StoredText(stored).GetString());
    }
    // A read's "Trans Complete", with what it stored and where.
    CString Received(int stored) const { return "Trans Complete, " + StoredText(stored) + "."; }
    CString StoredText(int stored) const
    {
        if (stored == 0)
            return "no records stored";
        return CString::Formatted(
            "%d record%s stored in %s", stored, stored == 1 ? "" : "s", m_dbPath.GetString());
    }
    std::size_t Count(const CString& text) const
    {
        std::size_t n = 0;
        for (const CString& t : Texts())
            n += t == text;
        return n;
    }
    // Boxes of one ending, named by its scale when several ran.
    std::size_t CountEndings(const char* text) const
    {
        const std::string named = std::string(": ") + text;
        std::size_t n = 0;
        for (const CString& t : Texts()) {
            // A read's ending goes on with what it stored.
            const std::string_view v = t.View().substr(0, t.View().find(','));
            n += v == std::string_view(text) || v.ends_with(named);
        }
        return n;
    }
    // Every row of sql as its values joined by '|'.
    std::vector<std::string> Rows(const char* sql)
    {
        CGeneralDaoHelper db;
        db.OpenDatabase(m_dbPath);
        std::vector<std::string> out;
        for (int i = 0;; ++i) {
            const CString row = db.GetRecordAt(sql, i);
            if (row.IsEmpty() || row == kDbNoRows)
                break;
            std::string joined;
            std::string_view rest = row.View();
            for (std::size_t end; (end = rest.find(kDbValueEnd)) != std::string_view::npos;) {
                joined += (joined.empty() ? "" : "|") + std::string(rest.substr(0, end));
                rest.remove_prefix(end + 4);
            }
            out.push_back(joined);
        }
        db.CloseDatabase();
        return out;
    }

    ScopedMessageBoxScript m_boxes;
    TempFolder m_folder;
    CString m_dbPath { m_folder.FromTemplate(150, "received.mdb") };
    StoppingHost m_host;
};

} // namespace transfertest
