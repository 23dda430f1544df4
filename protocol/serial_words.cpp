#include "protocol/serial_words.h"

#include <algorithm>

namespace {

struct WordText {
    SerialWord word;
    const char* text;
};

using W = SerialWord;

constexpr WordText kWords[] = {
    { W::Open, "OPEN" },
    { W::Join, "JOIN" },
    { W::EndJoin, "ENDJOIN" },
    { W::Close, "CLOSE" },
    { W::RequestEnd, "REQUEST_END" },
    { W::ResetScale, "RESET_SCALE" },
    { W::BroadStart, "BROAD_START" },
    { W::BroadStatusRequest, "BROAD_STATUS_REQ" },
    { W::AllEndJoin, "ALL_ENDJOIN" },
    { W::AllReset, "ALL_RESET" },
    { W::PluClear, "PLU_CLEAR" },
    { W::PluData, "DATA" },
    { W::PluSelectData, "SELECT_DATA" },
    { W::AddClear, "ADD_CLEAR" },
    { W::AddData, "ADD_DATA" },
    { W::AddSelectData, "SELECT_ADD_DATA" },
    { W::AdvClear, "ADV_CLEAR" },
    { W::AdvData, "ADV_DATA" },
    { W::AdvSelectData, "SELECT_ADV_DATA" },
    { W::LandAddClear, "LAND_ADD_CLEAR" },
    { W::LandAddData, "LAND_ADD_DATA" },
    { W::LandAddSelectData, "SELECT_LAND_ADD_DATA" },
    { W::UserLabelClear, "USER_LABEL_CLEAR" },
    { W::UserLabelData, "USER_LABEL_DATA" },
    { W::UserLabelSelectData, "USER_LABEL_SELECT_DATA" },
    { W::PreData, "PRE_DATA" },
    { W::SelectScaleInformation, "SELECT_SCALE_INFOMATION" },
    { W::SelectScaleRootInformation, "SELECT_SCALE_ROOT_INFOMATION" },
    { W::ResultAllClearStep, "RESULT_ALL_CLEAR" },
    { W::PluAllRequest, "PLU_ALL_REQUEST" },
    { W::PluRequest, "PLU_REQUEST" },
    { W::AddAllRequest, "ADD_ALL_REQUEST" },
    { W::AddRequest, "ADD_REQUEST" },
    { W::PreAllRequest, "PRE_ALL_REQUEST" },
    { W::PreRequest, "PRE_REQUEST" },
    { W::AdvAllRequest, "ADV_ALL_REQUEST" },
    { W::AdvRequest, "ADV_REQUEST" },
    { W::LandAddAllRequest, "LAND_ADD_ALL_REQUEST" },
    { W::LandAddRequest, "LAND_ADD_REQUEST" },
    { W::UserLabelAllRequest, "USER_LABEL_ALL_REQUEST" },
    { W::ResultAllReadStep, "RESULT_ALL_READ" },
    { W::ResultItemAllReadStep, "RESULT_ITEM_ALL_READ" },
    { W::ResultItemDayReadStep, "RESULT_ITEM_DAY_READ" },
    { W::ResultDayReadStep, "RESULT_DAY_READ" },
    { W::EndItem, "END_ITEM" },
    { W::MemoryFull, "MEMORY FULL" },
    { W::ProcessError, "PROCESS ERROR" },
    { W::DataLengthMiss, "DATA LENGTH MISS" },
    { W::BroadMemoryFull, "BROAD MEMORY FULL" },
    { W::BroadProcessError, "BROAD PROCESS ERROR" },
    { W::BroadDataLengthMiss, "BROAD DATA LENGTH MISS" },
    { W::Ok, "OK" },
    { W::PortOpenError, "PORT OPEN ERROR" },
    { W::JoinError, "JOINERROR" },
    { W::BroadJoinError, "BROADJOINERROR" },
    { W::TimeOut, "Time out" },
    { W::ThreeTimeError, "3TimeError" },
    { W::BroadThreeTimeError, "BROAD 3TimeError" },
    { W::Report, "Report" },
    { W::NoItem, "NOITEM" },
};

} // namespace

const char* Text(SerialWord word)
{
    for (const WordText& entry : kWords) {
        if (entry.word == word)
            return entry.text;
    }
    return "";
}

bool operator==(const CString& text, SerialWord word)
{
    return text == Text(word);
}

bool IsOneOf(const CString& text, std::initializer_list<SerialWord> words)
{
    return std::any_of(words.begin(), words.end(), [&](SerialWord word) { return text == word; });
}
