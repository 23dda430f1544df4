// DB Sum's move of totals into the summary, interrupted: a child process
// killed while it moves, the next move run after it.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>

#include "db/dao_helper.h"
#include "db/totals_move.h"
#include "platform/dao/dao_recordset.h"
#include "tests/support/db_lock.h"
#include "tests/support/temp_folder.h"
#include "tests/support/ui_pump.h"

namespace {

constexpr const char* kTable = "CREATE TABLE [Sale] ([ID] COUNTER, [total] TEXT(20), [note] TEXT(20), "
                               "[mg_id] TEXT(20), "
                               "CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]))";

class TotalsMoveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const std::string* path : { &m_source, &m_target }) {
            CDaoDatabase db;
            db.Create(path->c_str(), ";LANGID=0x0409;CP=1252;COUNTRY=0;pwd=quendrav");
            db.Execute(kTable);
        }
        CDaoDatabase db;
        db.Open(m_source.c_str(), FALSE, FALSE, kStoreDatabaseConnect);
        for (int i = 1; i <= 6; ++i)
            db.Execute(CString::Formatted("INSERT INTO [Sale]([total]) VALUES('%d')", i * 100));
    }

    // The move of every row the source holds now.
    TotalsMove Move() const
    {
        TotalsMove move { m_source.c_str(), m_target.c_str(), "Sale", { "total", "note" }, "m1", {} };
        for (const auto& [key, total] : Totals(m_source))
            move.keys.push_back(key);
        return move;
    }

    static std::multimap<long long, CString> Totals(const std::string& path)
    {
        CDaoDatabase db;
        db.Open(path.c_str(), FALSE, FALSE, kStoreDatabaseConnect);
        CDaoRecordset rs(&db);
        rs.Open(AFX_DAO_USE_DEFAULT_TYPE, "SELECT [ID], [total] FROM [Sale]");
        std::multimap<long long, CString> rows;
        for (; !rs.IsEOF(); rs.MoveNext())
            rows.emplace(rs.GetFieldValue(0).lVal, CDaoHelper::VariantToText(rs.GetFieldValue(1)));
        return rows;
    }

    TempFolder m_folder;
    std::string m_source = m_folder.File("item.mdb");
    std::string m_target = m_folder.File("Result_Sum.mdb");
};

} // namespace

// Another program reads the item database, so the move's write to it waits;
// the mover is killed while it waits (after its copies reached the summary,
// if it writes them first). The next move then leaves every total counted
// exactly once: in the summary, and no longer in the item database.
TEST_F(TotalsMoveTest, AMoverKilledMidwayLeavesEveryTotalCountedOnce)
{
    DbLockHolder reader;
    ASSERT_TRUE(reader.Hold(m_source, DbLockHolder::Kind::Read));
    const TotalsMove move = Move();
    CDaoDatabase::TEST_DropConnectionCache(); // no connection is shared with the child
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(MoveTotals(move).moved == 6 ? 0 : 1);
    ASSERT_GT(child, 0);
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    const bool settled = PumpUntil([&] {
        return ::waitpid(child, &status, WNOHANG) == child || !Totals(m_target).empty()
            || std::chrono::steady_clock::now() - start > std::chrono::seconds(1);
    });
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    reader.Release();
    EXPECT_TRUE(settled);
    EXPECT_TRUE(WIFSIGNALED(status)) << "killed before the move was done";

    const TotalsMoveOutcome next = MoveTotals(Move());
    EXPECT_EQ(next.error, "");
    std::map<CString, int> counted;
    for (const auto& [key, total] : Totals(m_target))
        ++counted[total];
    EXPECT_EQ(counted,
        (std::map<CString, int> {
            { "100", 1 }, { "200", 1 }, { "300", 1 }, { "400", 1 }, { "500", 1 }, { "600", 1 } }));
    EXPECT_TRUE(Totals(m_source).empty());
    CDaoDatabase summary;
    summary.Open(m_target.c_str(), FALSE, FALSE, kStoreDatabaseConnect);
    CDaoRecordset rs(&summary);
    rs.Open(AFX_DAO_USE_DEFAULT_TYPE, "SELECT count(*) FROM [Sale] WHERE [note] IS NULL AND [mg_id] = 'm1'");
    EXPECT_EQ(rs.GetFieldValue(0).lVal, 6) << "the copies hold what the source held, the mover's id";
}
