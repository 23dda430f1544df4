#pragma once
// The four kinds of sales totals the scales keep, as the work screen shows
// them: for each read kind its table, the default column list in grid order
// (the key ID last), the screen caption; and each column's grid titles.

#include <initializer_list>
#include <optional>

#include "platform/base/cstring.h"
#include "protocol/data_kinds.h"

struct ResultKind {
    DataKind kind;
    const char* table;
    std::initializer_list<const char*> columns; // "ID" last
    const char* englishCaption;
    const char* koreanCaption;
    const char* koreanTip;
};

// The summary database the totals are accumulated into.
inline constexpr const char* kResultSumFolder = "C:\\Zuvar\\ResultData\\";
inline constexpr const char* kResultSumPath = "C:\\Zuvar\\ResultData\\Result_Sum.mdb";

// The entry of a sales-total read; nullptr for none or another kind.
const ResultKind* FindResultKind(std::optional<DataKind> kind);
// The grid title of a column of the kinds in the language (1 Korean, else
// English); the column's own name for another.
const char* ResultColumnTitle(const char* column, int language);
// "[a], [b], ..." of the kind's columns.
CString ResultColumnList(const ResultKind& kind);
