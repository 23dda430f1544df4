// scale_sim: a simulated scale on a TCP address, for trying transfers by hand;
// or, in client mode, a scale of the results server.
//
//   scale_sim [address] [port] [mode] [totals] [late=N:MS] [twice] [capacity=N] [delay=MS]
//   scale_sim client address port [request KIND NUMBER | report ITEM PRICE WEIGHT
//                                   | cancel ITEM PRICE WEIGHT] ...
//
// address defaults to 127.0.0.2, port to 1239, mode to normal; modes: normal
// (keeps what it is sent and answers requests from it), silent (greets, then
// never answers), nak (refuses every packet with "SCALE PROCESS ERROR"), slow
// (answers each packet after 2 ms). With "totals" it starts holding sales
// totals of five items. Faults: late=N:MS answers record N late at its first
// arrival (its resend is answered too), twice acknowledges every record twice,
// capacity=N takes N records and refuses the next with "SCALE memory full",
// delay=MS is the slow mode's delay. Greets with "welcome" and several NULs.
// Prints one line per packet received; runs until it is ended (Ctrl+C).
//
// Client mode connects to the results server, sends each message in turn
// (KIND 0 Item, 1 Add, 2 AdvT, 3 Preset, 4 UserLabel, 5 Land_Add), waits up to
// 5 s for its 532-byte reply and prints the reply's header and data.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/scale_memory.h"
#include "tests/support/server_client.h"

namespace {

constexpr const char* kServeUsage
    = "usage: scale_sim [address] [port] [normal|silent|nak|slow] [totals] [late=N:MS] [twice] "
      "[capacity=N] [delay=MS]\n";
constexpr const char* kClientUsage
    = "scale_sim client address port [request K N | report I P W | cancel I P W] ...\n";

bool ModeOf(const std::string& word, scalesim::ScaleMemory::Mode& mode)
{
    using M = scalesim::ScaleMemory::Mode;
    if (word == "normal")
        mode = M::Normal;
    else if (word == "silent")
        mode = M::Silent;
    else if (word == "nak")
        mode = M::Nak;
    else if (word == "slow")
        mode = M::Slow;
    else
        return false;
    return true;
}

void PrintReply(const scalesim::Bytes& reply)
{
    const unsigned length = reply[18] | reply[19] << 8;
    std::printf("  reply: command %02X%02X kind %u direction %u status %04X record %u length %u\n  data:",
        reply[1], reply[0], reply[2], reply[4], static_cast<unsigned>(reply[6] | reply[7] << 8),
        static_cast<unsigned>(
            reply[14] | reply[15] << 8 | reply[16] << 16 | static_cast<unsigned>(reply[17]) << 24),
        length);
    std::size_t end = reply.size();
    while (end > 20 && reply[end - 1] == 0)
        --end;
    for (std::size_t i = 20; i < end; ++i)
        std::printf(" %02x", reply[i]);
    std::printf("\n");
}

int RunClient(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s", kClientUsage);
        return 2;
    }
    scalesim::ServerClient client;
    if (!client.Connect(argv[2], static_cast<unsigned>(std::strtol(argv[3], nullptr, 10)))) {
        std::fprintf(stderr, "scale_sim: cannot connect to %s:%s\n", argv[2], argv[3]);
        return 1;
    }
    std::size_t expected = 0;
    for (int i = 4; i < argc;) {
        const std::string word = argv[i];
        const int needs = word == "request" ? 2 : 3;
        if ((word != "request" && word != "report" && word != "cancel") || i + needs >= argc) {
            std::fprintf(stderr, "scale_sim: bad message at '%s'\n", argv[i]);
            return 2;
        }
        const long a = std::strtol(argv[i + 1], nullptr, 10);
        const long b = std::strtol(argv[i + 2], nullptr, 10);
        scalesim::Bytes message = word == "request"
            ? scalesim::DataRequest(static_cast<std::uint16_t>(a), static_cast<std::uint32_t>(b))
            : scalesim::SaleMessage(word == "cancel", static_cast<std::uint32_t>(a),
                static_cast<std::int32_t>(b),
                static_cast<std::int32_t>(std::strtol(argv[i + 3], nullptr, 10)));
        i += needs + 1;
        std::printf("%s %ld %ld\n", word.c_str(), a, b);
        if (!client.Send(message) || !client.WaitForReplies(++expected, 5000)) {
            std::printf("  no reply\n");
            --expected;
            continue;
        }
        PrintReply(client.Replies().back());
    }
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::printf("%s       %s", kServeUsage, kClientUsage);
        return 0;
    }
    if (argc > 1 && std::string(argv[1]) == "client")
        return RunClient(argc, argv);
    const std::string address = argc > 1 ? argv[1] : "127.0.0.2";
    const long port = argc > 2 ? std::strtol(argv[2], nullptr, 10) : scalesim::kScalePort;
    scalesim::ScaleMemory::Mode mode = scalesim::ScaleMemory::Mode::Normal;
    bool totals = false;
    bool usable = port > 0 && port <= 65535 && (argc <= 3 || ModeOf(argv[3], mode));
    scalesim::ScaleMemory::Faults faults;
    long delayMs = 2;
    for (int i = 4; i < argc && usable; ++i) {
        const std::string word = argv[i];
        unsigned long a = 0, b = 0;
        if (word == "totals")
            totals = true;
        else if (word == "twice")
            faults.ackTwice = true;
        else if (std::sscanf(word.c_str(), "late=%lu:%lu", &a, &b) == 2)
            faults = { static_cast<std::uint32_t>(a), std::chrono::milliseconds(b), faults.ackTwice,
                faults.capacity };
        else if (std::sscanf(word.c_str(), "capacity=%lu", &a) == 1)
            faults.capacity = a;
        else if (std::sscanf(word.c_str(), "delay=%lu", &a) == 1)
            delayMs = static_cast<long>(a);
        else
            usable = false;
    }
    if (!usable) {
        std::fprintf(stderr, "%s", kServeUsage);
        return 2;
    }
    scalesim::ScaleMemory memory(mode, 0x2027, std::chrono::milliseconds(delayMs));
    memory.SetFaults(faults);
    if (totals) {
        for (const scalesim::Bytes& total : scalesim::SampleTotals(5))
            memory.Put(total[0], scalesim::RecordNumber(total), total);
    }
    scalesim::TcpScale scale;
    auto script = [&memory](const scalesim::TcpPacket& packet, std::size_t index) {
        std::printf("%6zu  command %04X  %zu bytes\n", index, packet.command, packet.payload.size());
        std::fflush(stdout);
        return memory.Script()(packet, index);
    };
    if (!scale.StartAt(
            address, static_cast<unsigned>(port), script, scalesim::TcpScale::Greeting::WelcomeNuls)) {
        std::fprintf(stderr, "scale_sim: cannot listen on %s:%ld\n", address.c_str(), port);
        return 1;
    }
    std::printf(
        "scale_sim: listening on %s:%ld (%s)\n", address.c_str(), port, argc > 3 ? argv[3] : "normal");
    std::fflush(stdout);
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}
