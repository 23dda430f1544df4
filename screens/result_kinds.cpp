#include "screens/result_kinds.h"

#include <array>
#include <string_view>

namespace {

// Every column of the four kinds once, with its grid titles.
struct ResultColumn {
    const char* name;
    const char* englishTitle;
    const char* koreanTitle;
};

constexpr ResultColumn kColumns[] = {
    { "num", "Item number", "상품 번호" },
    { "begin_day", "Result Start day", "집계시작 날짜" },
    { "day", "Result day", "집계 날짜" },
    { "print_cnt", "Total Print count", "총출력 횟수" },
    { "total_weight", "Total Print weight", "총발행 무게" },
    { "total_price", "Total Price", "총가격" },
    { "rev_day", "Receive Day", "통신으로 받은 날짜" },
    { "current_scale", "Receive Scale", "받은 저울명" },
    { "item_memory", "Item Result Total memory", "상품집계 총메모리" },
    { "write_item_memory", "Used Item memory", "사용된 상품 메모리" },
    { "day_memory", "Day Result Total memory", "일일집계 총메모리" },
    { "write_day_memory", "Used Result memory", "사용된 일일 메모리" },
    { "ID", "ID", "ID" },
};

const std::array<ResultKind, 4> kKinds = { {
    { DataKind::ResultAll, "TotalResult",
        { "begin_day", "print_cnt", "total_weight", "total_price", "rev_day", "current_scale", "item_memory",
            "write_item_memory", "day_memory", "write_day_memory", "ID" },
        "Scale Total Result", "저울 총집계", "저울 총집계화면입니다." },
    { DataKind::ResultItemAll, "TotalItemResult",
        { "num", "begin_day", "print_cnt", "total_weight", "total_price", "rev_day", "current_scale", "ID" },
        "Item Total Result", "상품별 총집계", "상품별 총집계화면입니다." },
    { DataKind::ResultItemDay, "TotalItemDay",
        { "num", "day", "print_cnt", "total_weight", "total_price", "rev_day", "current_scale", "ID" },
        "Item Day Total Result", "상품별 일일 총집계", "상품별 일일 총집계화면입니다." },
    { DataKind::ResultDay, "TotalDayResult",
        { "day", "print_cnt", "total_weight", "total_price", "rev_day", "current_scale", "ID" },
        "One Day Total Result", "일일 총집계", "일일 총집계화면입니다." },
} };

} // namespace

const ResultKind* FindResultKind(std::optional<DataKind> kind)
{
    for (const ResultKind& known : kKinds) {
        if (known.kind == kind)
            return &known;
    }
    return nullptr;
}

const char* ResultColumnTitle(const char* column, int language)
{
    for (const ResultColumn& known : kColumns) {
        if (std::string_view(column) == std::string_view(known.name))
            return language == 1 ? known.koreanTitle : known.englishTitle;
    }
    return column;
}

CString ResultColumnList(const ResultKind& kind)
{
    CString list;
    for (const char* column : kind.columns)
        list += (list.IsEmpty() ? "[" : ", [") + CString(column) + "]";
    return list;
}
