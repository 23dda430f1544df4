#include "shell/view_hints.h"

#include <cstring>

namespace {

constexpr CategoryEntry kEntries[] = {
    { "Item", "상품", kHintItem, kQueryItemRead },
    { "Ingredient", "첨가물", kHintIngredient, "Add_Read" },
    { "Preset", "프리셋", kHintPreset, "Pre_Read" },
    { "Advertisement", "광고문", kHintAdvertisement, "Adv_Read" },
    { "Land Addition", "추가 원산지", kHintLandAddition, "Land_Add_Read" },
    { "Scale Total Result", "저울 총집계", kHintScaleTotal, "Scale_Result_All_Read" },
    { "Item Total Result", "상품별 총집계", kHintItemTotal, "Scale_Result_Item_All_Read" },
    { "Item Day Result", "상품별 일일 총집계", kHintItemDay, "Scale_Result_Item_Day_Read" },
    { "One Day Result", "일일 총집계", kHintOneDay, "Scale_Result_Day_Read" },
    { "Scale Info", "저울 정보", kHintScaleInfo, "Scale_Info_Read" },
    { "Scale Info2", "저울 정보2", kHintScaleRootInfo, "Scale_Root_Info_Read" },
    { "Scale Reg", "저울 등록", kHintScaleReg, "Scale_Reg_Read" },
    { "Management", "관리", kHintManagement, "Mg_Reg_Read" },
    { "User-label", "유저라벨", kHintUserLabel, "User_Label_Read" },
};

} // namespace

std::span<const CategoryEntry> CategoryEntries()
{
    return kEntries;
}

const CategoryEntry* FindCategoryEntry(const char* text, int languageIndex)
{
    if (!text)
        return nullptr;
    for (const CategoryEntry& entry : kEntries)
        if (std::strcmp(text, languageIndex == 1 ? entry.korean : entry.english) == 0)
            return &entry;
    return nullptr;
}
