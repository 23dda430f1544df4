#pragma once
// The kinds of data a transfer carries, what a transfer does and to which rows,
// as types. A kind's words are parsed once where they come in (the work
// screen's kind, the serial mailbox) and spelled back only where they go out;
// everything else compares the enums. One table (data_kinds.cpp) says for each
// kind its words, its table code, the grid columns of its records, the rows a
// send takes, what a read stores, and the steps of both transports.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "protocol/scale_codes.h"
#include "protocol/scale_records.h"
#include "protocol/serial_words.h"
#include "protocol/transfer_steps.h"

enum class DataKind {
    Item,
    Add,
    Adv,
    LandAddition,
    UserLabel,
    Preset,
    ScaleInfo,
    ScaleRootInfo,
    ResultAll,
    ResultItemAll,
    ResultItemDay,
    ResultDay,
    ResultAllClear,
};

// What a transfer does: "TRANS", "BROAD_TRANS" (serial only), "RECV".
enum class TransferCommand { Trans, BroadTrans, Recv };

// Which rows: "all" or "select".
enum class TransferScope { All, Select };

// The rows of the grid a send takes.
enum class KindRows {
    None, // sends no grid row (presets send their page; reads and clears nothing)
    Clicked, // the clicked row (scale settings)
    Table, // every data row, or the picked ones
};

// A row names its fields; a field it leaves out is the default given here.
struct DataKindInfo {
    DataKind kind;
    const char* word; // the job's and the serial mailbox's word ("Item", "SCALE_INFOMATION" ...)
    const char* screenWord; // the work screen's word ("Item", "Scale_Info", "User_Label_Read" ...)
    TableCode table;
    KindRows rows = KindRows::None;
    int lastColumn = 0; // a record is made of grid columns 1 to lastColumn (TCP)
    int cap = 0; // rows of a send at most, 0 for no cap
    std::optional<RecordKind> received {}; // what a read stores
    // TCP steps; Close for none.
    TransferStep clear = TransferStep::Close;
    TransferStep trans = TransferStep::Close;
    TransferStep allRequest = TransferStep::Close;
    TransferStep request = TransferStep::Close;
    // Serial steps: those of the tables sent record by record, and the whole
    // reads of presets and sales totals; none for the others.
    std::optional<SerialWord> serialClear {};
    std::optional<SerialWord> serialData {};
    std::optional<SerialWord> serialSelectData {};
    std::optional<SerialWord> serialAllRequest {};
    std::optional<SerialWord> serialRequest {};
    std::uint8_t clearSecond = 0; // the serial clear's second byte
    bool clearRestartsSequence = false; // the serial clear's frame goes out as number 0
};

[[nodiscard]] const DataKindInfo& KindInfo(DataKind kind);
// Every kind, in the table's order.
[[nodiscard]] std::span<const DataKindInfo> AllKinds();

// The parse: the kind of a job or mailbox word, of a work screen's word.
[[nodiscard]] std::optional<DataKind> KindOfWord(std::string_view word);
[[nodiscard]] std::optional<DataKind> KindOfScreenWord(std::string_view word);
[[nodiscard]] std::optional<TransferCommand> CommandOfWord(std::string_view word);
[[nodiscard]] std::optional<TransferScope> ScopeOfWord(std::string_view word);

// The words going out.
[[nodiscard]] const char* Word(DataKind kind);
[[nodiscard]] const char* Word(TransferCommand command);
[[nodiscard]] const char* Word(TransferScope scope);

// The four sales-total reads.
[[nodiscard]] bool IsResultRead(DataKind kind);

// The first TCP step of a job, or none for a pair of command, kind and scope
// that the scales do not serve.
[[nodiscard]] std::optional<TransferStep> FirstTransferStep(
    TransferCommand command, DataKind kind, TransferScope scope);
