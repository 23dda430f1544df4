#include "protocol/scale_codes.h"

const char* ToString(ScaleCommand command)
{
    switch (command) {
    case ScaleCommand::Clear:
        return "CLEAR";
    case ScaleCommand::Record:
        return "RECORD";
    case ScaleCommand::RequestOne:
        return "REQUEST_ONE";
    case ScaleCommand::Data:
        return "DATA";
    case ScaleCommand::RequestAll:
        return "REQUEST_ALL";
    case ScaleCommand::Nak:
        return "NAK";
    case ScaleCommand::Ack:
        return "ACK";
    case ScaleCommand::EndJoin:
        return "ENDJOIN";
    case ScaleCommand::BroadStart:
        return "BROAD_START";
    case ScaleCommand::BroadStatusRequest:
        return "BROAD_STATUS_REQ";
    case ScaleCommand::BroadStatusReply:
        return "BROAD_STATUS_REPLY";
    case ScaleCommand::EndOfData:
        return "END_OF_DATA";
    case ScaleCommand::TaskReset:
        return "TASK_RESET";
    case ScaleCommand::ResetScale:
        return "RESET_SCALE";
    }
    return "UNKNOWN";
}

const char* NakText(std::uint16_t code)
{
    switch (static_cast<NakCode>(code)) {
    case NakCode::DataLengthMiss:
        return "SCALE DATA LENGTH MISS";
    case NakCode::MemoryFull:
        return "SCALE memory full";
    case NakCode::ProcessError:
        return "SCALE PROCESS ERROR";
    case NakCode::NoItem:
        break;
    }
    return nullptr;
}
