#include "protocol/data_kinds.h"

#include <array>

#include "protocol/plu_fields.h"

namespace {

using S = TransferStep;
using W = SerialWord;
using R = RecordKind;
constexpr std::nullopt_t none = std::nullopt;

// The tables' records (protocol/plu_fields.h).
constexpr int kPluColumns = static_cast<int>(kPluRecordColumns);
constexpr int kAddColumns = static_cast<int>(kAddRecordColumns);
constexpr int kAdvColumns = static_cast<int>(kAdvRecordColumns);
constexpr int kLandAddColumns = static_cast<int>(kLandAddRecordColumns);
// Scale settings records: grid columns 1 to 19 and 1 to 7.
constexpr int kScaleInfoColumns = 19;
constexpr int kScaleRootInfoColumns = 7;

constexpr std::array<DataKindInfo, 13> kKinds = { {
    { DataKind::Item, "Item", "Item", TableCode::Plu, KindRows::Table, kPluColumns, 9000, R::Item,
        S::PluClear, S::PluTrans, S::PluAllRequest, S::PluRequest, W::PluClear, W::PluData, W::PluSelectData,
        W::PluAllRequest, W::PluRequest, 0, true },
    { DataKind::Add, "Add", "Add", TableCode::Add, KindRows::Table, kAddColumns, 600, R::Add, S::AddClear,
        S::AddTrans, S::AddAllRequest, S::AddRequest, W::AddClear, W::AddData, W::AddSelectData,
        W::AddAllRequest, W::AddRequest, 1, false },
    { DataKind::Adv, "Adv", "Adv", TableCode::AdvT, KindRows::Table, kAdvColumns, 210, R::AdvT, S::AdvClear,
        S::AdvTrans, S::AdvAllRequest, S::AdvRequest, W::AdvClear, W::AdvData, W::AdvSelectData,
        W::AdvAllRequest, W::AdvRequest, 1, false },
    { DataKind::LandAddition, "Land_addition", "Land_addition", TableCode::LandAdd, KindRows::Table,
        kLandAddColumns, 300, R::LandAdd, S::LandAddClear, S::LandAddTrans, S::LandAddAllRequest,
        S::LandAddRequest, W::LandAddClear, W::LandAddData, W::LandAddSelectData, W::LandAddAllRequest,
        W::LandAddRequest, 1, false },
    { DataKind::UserLabel, "USER_LABEL", "User_Label_Read", TableCode::UserLabel, KindRows::Table, 49, 0,
        R::UserLabel, S::UserLabelClear, S::UserLabelTrans, S::UserLabelAllRequest, S::Close,
        W::UserLabelClear, W::UserLabelData, W::UserLabelSelectData, W::UserLabelAllRequest, none, 0, true },
    { DataKind::Preset, "Pre", "Pre", TableCode::Preset, KindRows::None, 0, 0, R::Preset, S::Close,
        S::PreTrans, S::PreAllRequest, S::PreRequest, none, none, none, W::PreAllRequest, none, 0, false },
    { DataKind::ScaleInfo, "SCALE_INFOMATION", "Scale_Info", TableCode::ScaleInfo, KindRows::Clicked,
        kScaleInfoColumns, 0, none, S::Close, S::SelectScaleInformation, S::Close, S::Close, none, none, none,
        none, none, 0, false },
    { DataKind::ScaleRootInfo, "SCALE_ROOT_INFOMATION", "Scale_Root_Info", TableCode::ScaleRootInfo,
        KindRows::Clicked, kScaleRootInfoColumns, 0, none, S::Close, S::SelectScaleRootInformation, S::Close,
        S::Close, none, none, none, none, none, 0, false },
    { DataKind::ResultAll, "Scale_Result_All_Read", "Scale_Result_All_Read", TableCode::TotalResult,
        KindRows::None, 0, 0, R::TotalResult, S::Close, S::Close, S::ResultAllRead, S::Close, none, none,
        none, W::ResultAllReadStep, none, 0, false },
    { DataKind::ResultItemAll, "Scale_Result_Item_All_Read", "Scale_Result_Item_All_Read",
        TableCode::TotalItemResult, KindRows::None, 0, 0, R::TotalItemResult, S::Close, S::Close,
        S::ResultItemAllRead, S::Close, none, none, none, W::ResultItemAllReadStep, none, 0, false },
    { DataKind::ResultItemDay, "Scale_Result_Item_Day_Read", "Scale_Result_Item_Day_Read",
        TableCode::TotalItemDay, KindRows::None, 0, 0, R::TotalItemDay, S::Close, S::Close,
        S::ResultItemDayRead, S::Close, none, none, none, W::ResultItemDayReadStep, none, 0, false },
    { DataKind::ResultDay, "Scale_Result_Day_Read", "Scale_Result_Day_Read", TableCode::TotalDayResult,
        KindRows::None, 0, 0, R::TotalDayResult, S::Close, S::Close, S::ResultDayRead, S::Close, none, none,
        none, W::ResultDayReadStep, none, 0, false },
    { DataKind::ResultAllClear, "Scale_Result_All_Clear", "Scale_Result_All_Clear", TableCode::TotalResult,
        KindRows::None, 0, 0, none, S::ResultAllClear, S::Close, S::Close, S::Close, none, none, none, none,
        none, 0, true },
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
