// serialsim: scales on a serial line, for trying the program by hand.
//
//   serialsim [--ids 07,08] [--items N] [--version C] [--totals] [--drop ID:N] [--status ID:N]
//             [--twice]
//
// Opens a pseudo-terminal pair, prints the device path of its far end, and
// answers as the scales with the given IDs (default 07), each holding N items
// (default 5) until it is sent others, and with --totals the sales totals of
// those items. With --drop, scale ID acknowledges the Nth record of a broadcast
// but does not keep it. With --status, scale ID answers a status request with
// only the first N bytes of its 4 (its count, then its code). With --twice,
// every answer is written twice at once. Every frame received is printed. Runs
// until interrupted (Ctrl+C) or terminated.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/scale_memory.h"
#include "tests/support/scale_sim.h"
#include "tests/support/serial_scale_model.h"

namespace {

std::atomic<bool> g_stop { false };

void OnSignal(int)
{
    g_stop = true;
}

scalesim::Bytes ItemPayload(std::uint32_t number)
{
    // Table 0, 1, then the 112-byte item record: number, price, name.
    scalesim::Bytes p(114, 0);
    p[1] = 1;
    for (int i = 0; i < 4; ++i)
        p[2 + i] = static_cast<std::uint8_t>(number >> (8 * i));
    const std::uint32_t price = 100 * number;
    for (int i = 0; i < 4; ++i)
        p[2 + 14 + i] = static_cast<std::uint8_t>(price >> (8 * i));
    const std::string name = "Scale item " + std::to_string(number);
    for (std::size_t i = 0; i < name.size() && i < 30; ++i)
        p[2 + 50 + i] = static_cast<std::uint8_t>(name[i]);
    return p;
}

struct Options {
    std::set<std::string> ids;
    int items = 5;
    char version = '2';
    bool totals = false;
    std::string dropId;
    int dropAt = 0;
    std::string statusId;
    std::size_t statusBytes = 4;
    bool twice = false;
};

// FALSE, after the usage, for an argument it does not know.
bool ParseOptions(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--ids" && i + 1 < argc) {
            std::stringstream list(argv[++i]);
            for (std::string id; std::getline(list, id, ',');)
                o.ids.insert(id.size() == 1 ? "0" + id : id.substr(0, 2));
        } else if (arg == "--items" && i + 1 < argc) {
            o.items = std::atoi(argv[++i]);
        } else if (arg == "--version" && i + 1 < argc) {
            o.version = argv[++i][0];
        } else if (arg == "--totals") {
            o.totals = true;
        } else if (arg == "--drop" && i + 1 < argc && std::string(argv[i + 1]).size() > 3) {
            const std::string drop = argv[++i];
            o.dropId = drop.substr(0, 2);
            o.dropAt = std::atoi(drop.c_str() + 3);
        } else if (arg == "--status" && i + 1 < argc && std::string(argv[i + 1]).size() > 3) {
            const std::string status = argv[++i];
            o.statusId = status.substr(0, 2);
            o.statusBytes = static_cast<std::size_t>(std::atoi(status.c_str() + 3));
        } else if (arg == "--twice") {
            o.twice = true;
        } else {
            std::fprintf(stderr,
                "usage: serialsim [--ids 07,08] [--items N] [--version C] [--totals] "
                "[--drop ID:N] [--status ID:N] [--twice]\n");
            return false;
        }
    }
    if (o.ids.empty())
        o.ids.insert("07");
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!ParseOptions(argc, argv, o))
        return 2;
    const std::set<std::string>& ids = o.ids;
    scalesim::SerialScaleModel model(ids);
    for (const std::string& id : ids) {
        model.SetVersion(id, o.version);
        for (int n = 1; n <= o.items; ++n)
            model.Put(id, ItemPayload(static_cast<std::uint32_t>(n)));
        if (o.totals) {
            for (const scalesim::Bytes& total : scalesim::SampleTotals(o.items))
                model.Put(id, total);
        }
    }
    int broadcastRecords = 0;
    model.SetDropped([&](const std::string& id, const scalesim::SerialFrame& f) {
        return id == o.dropId && f.scaleId == "99" && ++broadcastRecords == o.dropAt;
    });
    scalesim::SerialScale line;
    const bool started = line.Start([&](const scalesim::SerialFrame& f, std::size_t) {
        if (f.join)
            std::printf("join of scale %s\n", f.scaleId.c_str());
        else
            std::printf("frame to %s: command 0x%04x, sequence %u, piece %u/%u, %zu bytes%s\n",
                f.scaleId.c_str(), f.command, f.sequence, f.pieceNumber, f.pieceCount, f.payload.size(),
                f.sumOk ? "" : ", WRONG SUM");
        std::fflush(stdout);
        scalesim::SerialReply reply = model.Answer(f);
        if (f.command == 0x0501 && f.scaleId == o.statusId) {
            std::size_t records = 0;
            for (const auto& [table, held] : model.TablesOf(o.statusId))
                records += held.size();
            scalesim::Bytes status { static_cast<std::uint8_t>(records),
                static_cast<std::uint8_t>(records >> 8), 0, 0 };
            status.resize(std::min(o.statusBytes, status.size()));
            reply.writes = { scalesim::AnswerFrame(o.statusId, 0x0502, status, f) };
        }
        if (o.twice) {
            std::vector<scalesim::Bytes> both;
            for (const scalesim::Bytes& write : reply.writes)
                both.insert(both.end(), { write, write });
            reply.writes = both;
        }
        return reply;
    });
    if (!started) {
        std::fprintf(stderr, "serialsim: no pseudo-terminal could be opened\n");
        return 1;
    }
    std::printf("serial scales on %s\n", line.DevicePath().c_str());
    std::printf("start the program with CALVORN_COM1=%s\n", line.DevicePath().c_str());
    std::fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    while (!g_stop)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    line.Stop();
    for (const std::string& id : ids) {
        std::printf("scale %s holds:", id.c_str());
        for (const auto& [table, records] : model.TablesOf(id))
            std::printf(" table %u: %zu records;", table, records.size());
        std::printf("\n");
    }
    return 0;
}
