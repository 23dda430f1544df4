// mkxls: writes the empty item workbook, the template that Excel (New File)
// gives the user: the five item tables' sheets in their fixed order, each with
// only its header row (bold, columns fitted), written by the program's own
// workbook writer.
// Usage: mkxls <out.xls>

#include <cstdio>
#include <vector>

#include "platform/base/exception.h"
#include "platform/sheet/excel_app.h"

namespace {

struct SheetHeader {
    const char* name;
    std::vector<const char*> columns;
};

const SheetHeader kSheets[] = {
    { "Item",
        { "ID", "item_num", "item_name", "item_name2", "land", "additem", "fix_price", "piece", "unitprice",
            "weight", "fmark", "pos_kind", "pos_flg", "pos_code", "dateprint", "limit_day", "limit_time",
            "sale_start", "sale_price", "sale_day", "total_weight", "total_price", "total_print", "mg_id",
            "info" } },
    { "Add",
        { "ID", "num", "info", "str1", "str2", "str3", "str4", "str5", "str6", "str7", "str8", "str9",
            "str10", "mg_id" } },
    { "AdvT", { "ID", "adv_num", "str1", "str2", "mg_id", "info" } },
    { "Preset", { "ID", "page_num", "num", "str", "mg_id" } },
    { "Land_Add", { "land_num", "land_str", "mg_id", "ID" } },
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkxls <out.xls>\n");
        return 2;
    }
    try {
        CExcelApplication app;
        if (!app.CreateDispatch("Excel.Application"))
            return 1;
        app.SetSheetsInNewWorkbook(static_cast<long>(std::size(kSheets)));
        CExcelWorkbook book = app.GetWorkbooks().Add();
        CExcelWorksheets sheets = book.GetWorksheets();
        for (long n = 1; n <= static_cast<long>(std::size(kSheets)); ++n) {
            const SheetHeader& header = kSheets[n - 1];
            CExcelWorksheet sheet = sheets.GetItem(n);
            sheet.SetName(header.name);
            const CExcelRange origin = sheet.GetRange("A1");
            const auto count = static_cast<long>(header.columns.size());
            for (long j = 0; j < count; ++j)
                origin.GetOffset(0, j).SetValue(COleVariant(header.columns[static_cast<std::size_t>(j)]));
            const CExcelRange row = origin.GetResize(1, count);
            row.GetFont().SetBold(TRUE);
            row.GetEntireColumn().AutoFit();
        }
        book.SaveAs(argv[1]);
        app.Quit();
    } catch (CException* e) {
        std::fprintf(stderr, "mkxls: %s\n", e->GetErrorText().GetString());
        e->Delete();
        return 1;
    }
    return 0;
}
