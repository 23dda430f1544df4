#pragma once
// The vocabulary of a job's progress. A job keeps its current step as a word
// ("PLU_CLEAR", "TASK_RESET" ...) and decides what a reply means by it; most
// words name the packet that the step sends (command and table). The serial
// link adds the words of its sessions. LastSentPacket keeps the packet a job
// sent last, whole, for resending it unchanged after a reply time-out.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/base/bytes.h"
#include "platform/base/io_status.h"
#include "protocol/scale_codes.h"

enum class TransferStep {
    PluClear,
    PluTrans,
    PluAllRequest,
    PluRequest,
    AddClear,
    AddTrans,
    AddAllRequest,
    AddRequest,
    PreTrans,
    PreAllRequest,
    PreRequest,
    AdvClear,
    AdvTrans,
    AdvAllRequest,
    AdvRequest,
    LandAddClear,
    LandAddTrans,
    LandAddAllRequest,
    LandAddRequest,
    UserLabelClear,
    UserLabelTrans,
    UserLabelAllRequest,
    ResultAllRead,
    ResultItemAllRead,
    ResultItemDayRead,
    ResultDayRead,
    ResultAllClear,
    SelectScaleInformation,
    SelectScaleRootInformation,
    ResetScale,
    TaskReset,
    Close,
    // Serial link sessions only.
    Open,
    Join,
    Data,
    SelectData,
    UserLabelSelectData,
    EndJoin,
    RequestEnd,
    BroadStart,
    BroadStatusRequest,
    AllEndJoin,
    AllReset,
};

// The step's word: "PLU_CLEAR", "SELECT_SCALE_INFOMATION" (as the scales' side
// spells it), "CLOSE" ...
const char* ToString(TransferStep step);

// The step a word names; false for any other text (words are compared whole and
// with their case).
bool StepFromWord(std::string_view word, TransferStep& out);

// The command of the packet the step sends; none for the steps that send no
// packet of their own (CLOSE and the serial session words OPEN, JOIN, DATA ...).
std::optional<ScaleCommand> StepCommand(TransferStep step);

// The table the step's packet is about; none for steps without a table.
std::optional<TableCode> StepTable(TransferStep step);

// The last packet a job sent, header included, kept until the next one is built.
class LastSentPacket {
public:
    // Builds command, length and payload as the packet to send. A payload over
    // kMaxPacketPayload is refused (InvalidArgument) and the packet kept before
    // stays.
    IoStatus Build(std::uint16_t command, std::span<const std::uint8_t> payload);
    IoStatus Build(ScaleCommand command, std::span<const std::uint8_t> payload = {});
    // Keeps a whole packet built elsewhere (EncodeClear ...). A packet that is not
    // one whole packet of at most kMaxPacketSize bytes is refused (BadLength) and
    // the packet kept before stays.
    IoStatus Keep(ByteBuffer packet);

    // The bytes to send (again); empty before the first packet.
    std::span<const std::uint8_t> Bytes() const { return m_packet; }
    std::size_t Length() const { return m_packet.size(); }

private:
    ByteBuffer m_packet;
};
