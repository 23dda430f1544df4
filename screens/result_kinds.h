#pragma once
// The four kinds of sales totals the scales keep, as the work screen shows
// them: the hint that opens each screen, its request word (the query name,
// also the transfer job's kind), its table, the default column list in grid
// order (the key ID last), the screen caption; and each column's grid titles.

#include <initializer_list>

#include "platform/base/cstring.h"

struct ResultKind {
    int hint;
    const char* requestWord;
    const char* table;
    std::initializer_list<const char*> columns; // "ID" last
    const char* englishCaption;
    const char* koreanCaption;
    const char* koreanTip;
};

// The summary database the totals are accumulated into.
inline constexpr const char* kResultSumFolder = "C:\\Zuvar\\ResultData\\";
inline constexpr const char* kResultSumPath = "C:\\Zuvar\\ResultData\\Result_Sum.mdb";

// The kind of a request word or of a hint (12-15); nullptr for none.
const ResultKind* FindResultKind(const CString& requestWord);
const ResultKind* ResultKindOfHint(int hint);
// The grid title of a column of the kinds in the language (1 Korean, else
// English); the column's own name for another.
const char* ResultColumnTitle(const char* column, int language);
// "[a], [b], ..." of the kind's columns.
CString ResultColumnList(const ResultKind& kind);
