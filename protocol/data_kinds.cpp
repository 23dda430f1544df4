#include "protocol/data_kinds.h"

#include <array>

#include "protocol/plu_fields.h"

namespace {

using S = TransferStep;
using W = SerialWord;
using R = RecordKind;

// The tables' records (protocol/plu_fields.h).
constexpr int kPluColumns = static_cast<int>(kPluRecordColumns);
constexpr int kAddColumns = static_cast<int>(kAddRecordColumns);
constexpr int kAdvColumns = static_cast<int>(kAdvRecordColumns);
constexpr int kLandAddColumns = static_cast<int>(kLandAddRecordColumns);
// Scale settings records: grid columns 1 to 19 and 1 to 7.
constexpr int kScaleInfoColumns = 19;
constexpr int kScaleRootInfoColumns = 7;

constexpr std::array<DataKindInfo, 13> kKinds = { {
    { .kind = DataKind::Item,
        .word = "Item",
        .screenWord = "Item",
        .table = TableCode::Plu,
        .rows = KindRows::Table,
        .lastColumn = kPluColumns,
        .cap = 9000,
        .received = R::Item,
        .clear = S::PluClear,
        .trans = S::PluTrans,
        .allRequest = S::PluAllRequest,
        .request = S::PluRequest,
        .serialClear = W::PluClear,
        .serialData = W::PluData,
        .serialSelectData = W::PluSelectData,
        .serialAllRequest = W::PluAllRequest,
        .serialRequest = W::PluRequest,
        .clearRestartsSequence = true },
    { .kind = DataKind::Add,
        .word = "Add",
        .screenWord = "Add",
        .table = TableCode::Add,
        .rows = KindRows::Table,
        .lastColumn = kAddColumns,
        .cap = 600,
        .received = R::Add,
        .clear = S::AddClear,
        .trans = S::AddTrans,
        .allRequest = S::AddAllRequest,
        .request = S::AddRequest,
        .serialClear = W::AddClear,
        .serialData = W::AddData,
        .serialSelectData = W::AddSelectData,
        .serialAllRequest = W::AddAllRequest,
        .serialRequest = W::AddRequest,
        .clearSecond = 1 },
    { .kind = DataKind::Adv,
        .word = "Adv",
        .screenWord = "Adv",
        .table = TableCode::AdvT,
        .rows = KindRows::Table,
        .lastColumn = kAdvColumns,
        .cap = 210,
        .received = R::AdvT,
        .clear = S::AdvClear,
        .trans = S::AdvTrans,
        .allRequest = S::AdvAllRequest,
        .request = S::AdvRequest,
        .serialClear = W::AdvClear,
        .serialData = W::AdvData,
        .serialSelectData = W::AdvSelectData,
        .serialAllRequest = W::AdvAllRequest,
        .serialRequest = W::AdvRequest,
        .clearSecond = 1 },
    { .kind = DataKind::LandAddition,
        .word = "Land_addition",
        .screenWord = "Land_addition",
        .table = TableCode::LandAdd,
        .rows = KindRows::Table,
        .lastColumn = kLandAddColumns,
        .cap = 300,
        .received = R::LandAdd,
        .clear = S::LandAddClear,
        .trans = S::LandAddTrans,
        .allRequest = S::LandAddAllRequest,
        .request = S::LandAddRequest,
        .serialClear = W::LandAddClear,
        .serialData = W::LandAddData,
        .serialSelectData = W::LandAddSelectData,
        .serialAllRequest = W::LandAddAllRequest,
        .serialRequest = W::LandAddRequest,
        .clearSecond = 1 },
    { .kind = DataKind::UserLabel,
        .word = "USER_LABEL",
        .screenWord = "User_Label_Read",
        .table = TableCode::UserLabel,
        .rows = KindRows::Table,
        .lastColumn = 49,
        .received = R::UserLabel,
        .clear = S::UserLabelClear,
        .trans = S::UserLabelTrans,
        .allRequest = S::UserLabelAllRequest,
        .serialClear = W::UserLabelClear,
        .serialData = W::UserLabelData,
        .serialSelectData = W::UserLabelSelectData,
        .serialAllRequest = W::UserLabelAllRequest,
        .clearRestartsSequence = true },
    { .kind = DataKind::Preset,
        .word = "Pre",
        .screenWord = "Pre",
        .table = TableCode::Preset,
        .received = R::Preset,
        .trans = S::PreTrans,
        .allRequest = S::PreAllRequest,
        .request = S::PreRequest,
        .serialAllRequest = W::PreAllRequest },
    { .kind = DataKind::ScaleInfo,
        .word = "SCALE_INFOMATION",
        .screenWord = "Scale_Info",
        .table = TableCode::ScaleInfo,
        .rows = KindRows::Clicked,
        .lastColumn = kScaleInfoColumns,
        .trans = S::SelectScaleInformation },
    { .kind = DataKind::ScaleRootInfo,
        .word = "SCALE_ROOT_INFOMATION",
        .screenWord = "Scale_Root_Info",
        .table = TableCode::ScaleRootInfo,
        .rows = KindRows::Clicked,
        .lastColumn = kScaleRootInfoColumns,
        .trans = S::SelectScaleRootInformation },
    { .kind = DataKind::ResultAll,
        .word = "Scale_Result_All_Read",
        .screenWord = "Scale_Result_All_Read",
        .table = TableCode::TotalResult,
        .received = R::TotalResult,
        .allRequest = S::ResultAllRead,
        .serialAllRequest = W::ResultAllReadStep },
    { .kind = DataKind::ResultItemAll,
        .word = "Scale_Result_Item_All_Read",
        .screenWord = "Scale_Result_Item_All_Read",
        .table = TableCode::TotalItemResult,
        .received = R::TotalItemResult,
        .allRequest = S::ResultItemAllRead,
        .serialAllRequest = W::ResultItemAllReadStep },
    { .kind = DataKind::ResultItemDay,
        .word = "Scale_Result_Item_Day_Read",
        .screenWord = "Scale_Result_Item_Day_Read",
        .table = TableCode::TotalItemDay,
        .received = R::TotalItemDay,
        .allRequest = S::ResultItemDayRead,
        .serialAllRequest = W::ResultItemDayReadStep },
    { .kind = DataKind::ResultDay,
        .word = "Scale_Result_Day_Read",
        .screenWord = "Scale_Result_Day_Read",
        .table = TableCode::TotalDayResult,
        .received = R::TotalDayResult,
        .allRequest = S::ResultDayRead,
        .serialAllRequest = W::ResultDayReadStep },
    { .kind = DataKind::ResultAllClear,
        .word = "Scale_Result_All_Clear",
        .screenWord = "Scale_Result_All_Clear",
        .table = TableCode::TotalResult,
        .clear = S::ResultAllClear,
        .clearRestartsSequence = true },
} };

constexpr bool InKindOrder()
{
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        if (static_cast<std::size_t>(kKinds[i].kind) != i)
            return false;
    }
    return true;
}
static_assert(InKindOrder(), "KindInfo indexes the table by the kind");

struct CommandWord {
    TransferCommand command;
    const char* word;
};

constexpr CommandWord kCommands[] = {
    { TransferCommand::Trans, "TRANS" },
    { TransferCommand::BroadTrans, "BROAD_TRANS" },
    { TransferCommand::Recv, "RECV" },
};

} // namespace

const DataKindInfo& KindInfo(DataKind kind)
{
    return kKinds[static_cast<std::size_t>(kind)];
}

std::span<const DataKindInfo> AllKinds()
{
    return kKinds;
}

std::optional<DataKind> KindOfWord(std::string_view word)
{
    for (const DataKindInfo& k : kKinds) {
        if (word == std::string_view(k.word))
            return k.kind;
    }
    return std::nullopt;
}

std::optional<DataKind> KindOfScreenWord(std::string_view word)
{
    for (const DataKindInfo& k : kKinds) {
        if (word == std::string_view(k.screenWord))
            return k.kind;
    }
    return std::nullopt;
}

std::optional<TransferCommand> CommandOfWord(std::string_view word)
{
    for (const CommandWord& c : kCommands) {
        if (word == std::string_view(c.word))
            return c.command;
    }
    return std::nullopt;
}

std::optional<TransferScope> ScopeOfWord(std::string_view word)
{
    if (word == std::string_view("all"))
        return TransferScope::All;
    if (word == std::string_view("select"))
        return TransferScope::Select;
    return std::nullopt;
}

const char* Word(DataKind kind)
{
    return KindInfo(kind).word;
}

const char* Word(TransferCommand command)
{
    return kCommands[static_cast<std::size_t>(command)].word;
}

const char* Word(TransferScope scope)
{
    return scope == TransferScope::All ? "all" : "select";
}

bool IsResultRead(DataKind kind)
{
    return kind == DataKind::ResultAll || kind == DataKind::ResultItemAll || kind == DataKind::ResultItemDay
        || kind == DataKind::ResultDay;
}

std::optional<TransferStep> FirstTransferStep(TransferCommand command, DataKind kind, TransferScope scope)
{
    const DataKindInfo& k = KindInfo(kind);
    const bool all = scope == TransferScope::All;
    auto step = [](S s) { return s == S::Close ? std::nullopt : std::optional<S>(s); };
    if (command == TransferCommand::Recv) {
        // Sales totals are read whole whatever the scope.
        if (all || IsResultRead(kind))
            return step(k.allRequest);
        return step(k.request);
    }
    if (command != TransferCommand::Trans)
        return std::nullopt;
    if (k.rows == KindRows::Clicked)
        return step(k.trans);
    if (k.clear == S::Close) // presets: one page, "all" only
        return all ? step(k.trans) : std::nullopt;
    if (k.trans == S::Close) // the clear of the totals
        return step(k.clear);
    return all ? k.clear : k.trans;
}
