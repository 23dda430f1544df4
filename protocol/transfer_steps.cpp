#include "protocol/transfer_steps.h"

#include "protocol/scale_packet.h"

namespace {

struct StepEntry {
    TransferStep step;
    const char* word;
    std::optional<ScaleCommand> command;
    std::optional<TableCode> table;
};

using C = ScaleCommand;
using T = TableCode;

constexpr StepEntry kSteps[] = {
    { TransferStep::PluClear, "PLU_CLEAR", C::Clear, T::Plu },
    { TransferStep::PluTrans, "PLU_TRANS", C::Record, T::Plu },
    { TransferStep::PluAllRequest, "PLU_ALL_REQUEST", C::RequestAll, T::Plu },
    { TransferStep::PluRequest, "PLU_REQUEST", C::RequestOne, T::Plu },
    { TransferStep::AddClear, "ADD_CLEAR", C::Clear, T::Add },
    { TransferStep::AddTrans, "ADD_TRANS", C::Record, T::Add },
    { TransferStep::AddAllRequest, "ADD_ALL_REQUEST", C::RequestAll, T::Add },
    { TransferStep::AddRequest, "ADD_REQUEST", C::RequestOne, T::Add },
    { TransferStep::PreTrans, "PRE_TRANS", C::Record, T::Preset },
    { TransferStep::PreAllRequest, "PRE_ALL_REQUEST", C::RequestAll, T::Preset },
    { TransferStep::PreRequest, "PRE_REQUEST", C::RequestOne, T::Preset },
    { TransferStep::AdvClear, "ADV_CLEAR", C::Clear, T::AdvT },
    { TransferStep::AdvTrans, "ADV_TRANS", C::Record, T::AdvT },
    { TransferStep::AdvAllRequest, "ADV_ALL_REQUEST", C::RequestAll, T::AdvT },
    { TransferStep::AdvRequest, "ADV_REQUEST", C::RequestOne, T::AdvT },
    { TransferStep::LandAddClear, "LAND_ADD_CLEAR", C::Clear, T::LandAdd },
    { TransferStep::LandAddTrans, "LAND_ADD_TRANS", C::Record, T::LandAdd },
    { TransferStep::LandAddAllRequest, "LAND_ADD_ALL_REQUEST", C::RequestAll, T::LandAdd },
    { TransferStep::LandAddRequest, "LAND_ADD_REQUEST", C::RequestOne, T::LandAdd },
    { TransferStep::UserLabelClear, "USER_LABEL_CLEAR", C::Clear, T::UserLabel },
    { TransferStep::UserLabelTrans, "USER_LABEL_TRANS", C::Record, T::UserLabel },
    { TransferStep::UserLabelAllRequest, "USER_LABEL_ALL_REQUEST", C::RequestAll, T::UserLabel },
    { TransferStep::ResultAllRead, "RESULT_ALL_READ", C::RequestOne, T::TotalResult },
    { TransferStep::ResultItemAllRead, "RESULT_ITEM_ALL_READ", C::RequestAll, T::TotalItemResult },
    { TransferStep::ResultItemDayRead, "RESULT_ITEM_DAY_READ", C::RequestAll, T::TotalItemDay },
    { TransferStep::ResultDayRead, "RESULT_DAY_READ", C::RequestAll, T::TotalDayResult },
    { TransferStep::ResultAllClear, "RESULT_ALL_CLEAR", C::Clear, T::TotalResult },
    { TransferStep::SelectScaleInformation, "SELECT_SCALE_INFOMATION", C::Record, T::ScaleInfo },
    { TransferStep::SelectScaleRootInformation, "SELECT_SCALE_ROOT_INFOMATION", C::Record, T::ScaleRootInfo },
    { TransferStep::ResetScale, "RESET_SCALE", C::ResetScale, std::nullopt },
    { TransferStep::TaskReset, "TASK_RESET", C::TaskReset, std::nullopt },
    { TransferStep::Close, "CLOSE", std::nullopt, std::nullopt },
    { TransferStep::Open, "OPEN", std::nullopt, std::nullopt },
    { TransferStep::Join, "JOIN", std::nullopt, std::nullopt },
    { TransferStep::Data, "DATA", std::nullopt, std::nullopt },
    { TransferStep::SelectData, "SELECT_DATA", std::nullopt, std::nullopt },
    { TransferStep::UserLabelSelectData, "USER_LABEL_SELECT_DATA", std::nullopt, std::nullopt },
    { TransferStep::EndJoin, "ENDJOIN", C::EndJoin, std::nullopt },
    { TransferStep::RequestEnd, "REQUEST_END", std::nullopt, std::nullopt },
    { TransferStep::BroadStart, "BROAD_START", C::BroadStart, std::nullopt },
    { TransferStep::BroadStatusRequest, "BROAD_STATUS_REQ", C::BroadStatusRequest, std::nullopt },
    { TransferStep::AllEndJoin, "ALL_ENDJOIN", C::EndJoin, std::nullopt },
    { TransferStep::AllReset, "ALL_RESET", C::ResetScale, std::nullopt },
};

const StepEntry* Find(TransferStep step)
{
    for (const StepEntry& e : kSteps) {
        if (e.step == step)
            return &e;
    }
    return nullptr;
}

} // namespace

const char* ToString(TransferStep step)
{
    const StepEntry* e = Find(step);
    return e != nullptr ? e->word : "";
}

bool StepFromWord(std::string_view word, TransferStep& out)
{
    for (const StepEntry& e : kSteps) {
        if (word == e.word) {
            out = e.step;
            return true;
        }
    }
    return false;
}

std::optional<ScaleCommand> StepCommand(TransferStep step)
{
    const StepEntry* e = Find(step);
    return e != nullptr ? e->command : std::nullopt;
}

std::optional<TableCode> StepTable(TransferStep step)
{
    const StepEntry* e = Find(step);
    return e != nullptr ? e->table : std::nullopt;
}

IoStatus LastSentPacket::Build(std::uint16_t command, std::span<const std::uint8_t> payload)
{
    ByteBuffer packet;
    IoStatus status = EncodePacket(command, payload, packet);
    if (status.ok())
        m_packet = std::move(packet);
    return status;
}

IoStatus LastSentPacket::Build(ScaleCommand command, std::span<const std::uint8_t> payload)
{
    return Build(ToWord(command), payload);
}

IoStatus LastSentPacket::Keep(ByteBuffer packet)
{
    ScalePacket decoded;
    IoStatus status = DecodePacket(packet, decoded);
    if (status.ok())
        m_packet = std::move(packet);
    return status;
}
