#include "screens/result_kinds.h"

#include <array>

namespace {

const std::array<ResultKind, 4> kKinds = { {
    { 12, "Scale_Result_All_Read", "TotalResult",
        { "begin_day", "print_cnt", "total_weight", "total_price", "rev_day", "current_scale", "item_memory",
            "write_item_memory", "day_memory", "write_day_memory", "ID" },
        { "Result Start day", "Total Print count", "Total Print weight", "Total Price", "Receive Day",
            "Receive Scale", "Item Result Total memory", "Used Item memory", "Day Result Total memory",
            "Used Result memory", "ID" },
        { "집계시작 날짜", "총출력 횟수", "총발행 무게", "총가격", "통신으로 받은 날짜", "받은 저울명",
            "상품집계 총메모리", "사용된 상품 메모리", "일일집계 총메모리", "사용된 일일 메모리", "ID" },
        "Scale Total Result", "저울 총집계", "저울 총집계화면입니다." },
    { 13, "Scale_Result_Item_All_Read", "TotalItemResult",
        { "num", "begin_day", "print_cnt", "total_weight", "total_price", "rev_day", "current_scale", "ID" },
        { "Item number", "Result Start day", "Total Print count", "Total Print weight", "Total Price",
            "Receive Day", "Receive Scale", "ID" },
        { "상품 번호", "집계시작 날짜", "총출력 횟수", "총발행 무게", "총가격", "통신으로 받은 날짜",
            "받은 저울명", "ID" },
        "Item Total Result", "상품별 총집계", "상품별 총집계화면입니다." },
    { 14, "Scale_Result_Item_Day_Read", "TotalItemDay",
        { "num", "day", "print_cnt", "total_weight", "total_price", "rev_day", "current_scale", "ID" },
        { "Item number", "Result day", "Total Print count", "Total Print weight", "Total Price",
            "Receive Day", "Receive Scale", "ID" },
        { "상품 번호", "집계 날짜", "총출력 횟수", "총발행 무게", "총가격", "통신으로 받은 날짜",
            "받은 저울명", "ID" },
        "Item Day Total Result", "상품별 일일 총집계", "상품별 일일 총집계화면입니다." },
    { 15, "Scale_Result_Day_Read", "TotalDayResult",
        { "day", "print_cnt", "total_weight", "total_price", "rev_day", "current_scale", "ID" },
        { "Result day", "Total Print count", "Total Print weight", "Total Price", "Receive Day",
            "Receive Scale", "ID" },
        { "집계 날짜", "총출력 횟수", "총발행 무게", "총가격", "통신으로 받은 날짜", "받은 저울명", "ID" },
        "One Day Total Result", "일일 총집계", "일일 총집계화면입니다." },
} };

} // namespace

const ResultKind* FindResultKind(const CString& requestWord)
{
    for (const ResultKind& kind : kKinds) {
        if (requestWord == kind.requestWord)
            return &kind;
    }
    return nullptr;
}

const ResultKind* ResultKindOfHint(int hint)
{
    for (const ResultKind& kind : kKinds) {
        if (kind.hint == hint)
            return &kind;
    }
    return nullptr;
}

CString ResultColumnList(const ResultKind& kind)
{
    CString list;
    for (const char* column : kind.columns)
        list += (list.IsEmpty() ? "[" : ", [") + CString(column) + "]";
    return list;
}
