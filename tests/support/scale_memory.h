#pragma once
// A scale with a memory, behind a TcpScale: it keeps the records it is sent,
// table by table and by number, clears tables, answers requests for one record
// (the acknowledgement, then the record or NAK 0x2028 when it has none) and
// for all records (the acknowledgement, then one record per acknowledgement
// of the PC, then the end of data), and keeps sales totals to be read and
// cleared. Modes: normal; silent (greets, then never answers); nak (refuses
// every packet with one code); slow (each answer after a delay). Faults on
// top: a record answered late at its first arrival (its resend waits and is
// answered too), every record acknowledged twice, a memory that takes only so
// many records (NAK 0x2025 for the next new one).

#include <chrono>
#include <map>
#include <mutex>
#include <vector>

#include "tests/support/scale_sim.h"

namespace scalesim {

class ScaleMemory {
public:
    enum class Mode { Normal, Silent, Nak, Slow };

    explicit ScaleMemory(Mode mode = Mode::Normal, std::uint16_t nakCode = 0x2027,
        std::chrono::microseconds delay = std::chrono::milliseconds(2));

    struct Faults {
        std::uint32_t lateNumber = 0; // the record of this number, at its first arrival ...
        std::chrono::milliseconds lateBy { 0 }; // ... is answered this late
        bool ackTwice = false; // every record acknowledged twice, in two writes
        std::size_t capacity = 0; // records it takes (0: no limit)
        std::vector<std::uint32_t> strayAfter; // these records' acknowledgement is followed by a stray one
    };
    // Set before the scale starts.
    void SetFaults(const Faults& faults) { m_faults = faults; }

    // The script to give TcpScale::Start. The memory must outlive the scale's
    // thread (stop the scale first).
    TcpScript Script();
    TcpReply Answer(const TcpPacket& packet);

    // Records of a table by number (record payload as sent: table code first).
    std::map<std::uint32_t, Bytes> Table(std::uint8_t table) const;
    void Put(std::uint8_t table, std::uint32_t number, const Bytes& payload);
    // Number of clears of each table received.
    int Clears(std::uint8_t table) const;
    int TaskResets() const;
    int ScaleResets() const;
    // Record packets received (0x0003), all tables.
    std::size_t RecordsReceived() const;

private:
    Bytes NextStreamed();

    Mode m_mode;
    Faults m_faults;
    bool m_lateDone = false;
    std::uint16_t m_nakCode;
    std::chrono::microseconds m_delay;
    mutable std::mutex m_lock;
    std::map<std::uint8_t, std::map<std::uint32_t, Bytes>> m_tables;
    std::map<std::uint8_t, int> m_clears;
    int m_taskResets = 0;
    int m_scaleResets = 0;
    std::size_t m_records = 0;
    // A request for all records being answered.
    bool m_streaming = false;
    std::vector<Bytes> m_stream;
    std::size_t m_streamIndex = 0;
};

// Number of a record payload (the u32 after the table code and 1); 0 when too
// short or for the settings records, which have none.
std::uint32_t RecordNumber(const Bytes& payload);

// Sales totals a scale may hold, as record payloads (table code first): the
// scale's whole total (0x3D) and, for items 1 to items, the totals per item
// (0x3E), per item and day (0x3F) and per day (0x40), all in December 2026.
std::vector<Bytes> SampleTotals(int items);

} // namespace scalesim
