#pragma once
// Command, NAK and table codes of the scale protocol. The same numbers travel in
// TCP packets and inside the serial link frames. They are on the wire: never
// renumber them.

#include <cstdint>

enum class ScaleCommand : std::uint16_t {
    Clear = 0x0002, // PC: clear a table; payload table code, then 1
    Record = 0x0003, // PC: one record
    RequestOne = 0x0004, // PC: one record by number; table code, 1, u32 number
    Data = 0x0005, // scale: one data record
    RequestAll = 0x0006, // PC: every record of a table; table code, 1
    Nak = 0x0100, // scale: refusal; u16 NakCode
    Ack = 0x0101, // both: acknowledgement, no payload
    EndJoin = 0x0400, // PC, serial only: end of a joined session
    BroadStart = 0x0500, // PC, serial only: broadcast start, 2 bytes
    BroadStatusRequest = 0x0501, // PC, serial only
    BroadStatusReply = 0x0502, // scale, serial only: u16 su, u16 code
    EndOfData = 0x0600, // scale: no more records
    TaskReset = 0x4120, // PC: last packet of a sending job
    ResetScale = 0x4130, // PC: restart the scale after new settings
};

enum class NakCode : std::uint16_t {
    DataLengthMiss = 0x2023,
    MemoryFull = 0x2025,
    ProcessError = 0x2027,
    NoItem = 0x2028,
};

enum class TableCode : std::uint8_t {
    Plu = 0,
    Add = 1,
    AdvT = 2,
    Preset = 3,
    UserLabel = 4,
    LandAdd = 5,
    ScaleInfo = 0x1F,
    ScaleRootInfo = 0x20,
    TotalResult = 0x3D, // '=': whole scale; also clears every total
    TotalItemResult = 0x3E, // '>'
    TotalItemDay = 0x3F, // '?'
    TotalDayResult = 0x40, // '@'
};

// Names for logs ("ACK", "NAK" ...; "UNKNOWN" for a value outside the table).
const char* ToString(ScaleCommand command);

// Text the PC shows for a refusal: "SCALE DATA LENGTH MISS", "SCALE memory full",
// "SCALE PROCESS ERROR"; nullptr for NoItem and unknown codes, which show nothing.
const char* NakText(std::uint16_t code);

constexpr std::uint16_t ToWord(ScaleCommand command)
{
    return static_cast<std::uint16_t>(command);
}
constexpr std::uint8_t ToByte(TableCode table)
{
    return static_cast<std::uint8_t>(table);
}
