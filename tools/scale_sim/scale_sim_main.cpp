// scale_sim: a simulated scale on a TCP address, for trying transfers by hand.
//
//   scale_sim [address] [port] [mode]
//
// address defaults to 127.0.0.2, port to 1239, mode to normal; modes: normal
// (keeps what it is sent and answers requests from it), silent (greets, then
// never answers), nak (refuses every packet with "SCALE PROCESS ERROR"), slow
// (answers each packet after 2 ms). Greets with "welcome" and several NULs.
// Prints one line per packet received; runs until it is ended (Ctrl+C).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/scale_memory.h"

namespace {

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

} // namespace

int main(int argc, char** argv)
{
    const std::string address = argc > 1 ? argv[1] : "127.0.0.2";
    const long port = argc > 2 ? std::strtol(argv[2], nullptr, 10) : scalesim::kScalePort;
    scalesim::ScaleMemory::Mode mode = scalesim::ScaleMemory::Mode::Normal;
    if (argc > 4 || port <= 0 || port > 65535 || (argc > 3 && !ModeOf(argv[3], mode))) {
        std::fprintf(stderr, "usage: scale_sim [address] [port] [normal|silent|nak|slow]\n");
        return 2;
    }
    scalesim::ScaleMemory memory(mode);
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
