#pragma once
// The requests the owners send their database workers, one type: each has
// the name written into the mailbox's name edit (the protocol's text, spelled
// here only), and the parse of a name back. A request name is a table word,
// an underscore and an operation; the manager worker serves only the words
// "Manager".

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

enum class DbRequest {
    // Streamed SELECTs of the work screen.
    ItemRead,
    AddRead,
    AdvRead,
    LandAddRead,
    PresetRead,
    UserLabelRead,
    ScaleInfoRead,
    ScaleRootInfoRead,
    ScaleRegRead,
    CommModeRead,
    ManagersRead,
    ResultAllRead,
    ResultItemAllRead,
    ResultItemDayRead,
    ResultDayRead,
    // Cell edits (UPDATE).
    ItemUpdate,
    AddUpdate,
    AdvUpdate,
    LandAddUpdate,
    UserLabelUpdate,
    ScaleInformationUpdate,
    PresetUpdate,
    PresetUpdateInsert,
    // A placeholder row inserted, its key read back, a row deleted.
    ItemInsert,
    AddInsert,
    AdvInsert,
    LandAddInsert,
    UserLabelInsert,
    ScaleInformationInsert,
    ScaleRootInformationInsert,
    ItemInsertRead,
    AddInsertRead,
    AdvInsertRead,
    LandAddInsertRead,
    UserLabelInsertRead,
    ScaleInformationInsertRead,
    ScaleRootInformationInsertRead,
    ItemDelete,
    AddDelete,
    AdvDelete,
    LandAddDelete,
    // The scale register's statements.
    ScaleInsert,
    ScaleUpdate,
    ScaleDelete,
    // The users screen's statements.
    ManagerRegister,
    ManagerRemove,
    // The manager worker's (table word "Manager").
    ManagerLogin,
    ManagerChange,
    ManagerInsert,
    // A received item record noted for the store (not a request the worker
    // serves).
    ItemReceived,
};

namespace db_request {
struct Naming {
    DbRequest request;
    const char* name;
};

using R = DbRequest;

inline constexpr auto kNames = std::to_array<Naming>({
    { R::ItemRead, "Item_Read" },
    { R::AddRead, "Add_Read" },
    { R::AdvRead, "Adv_Read" },
    { R::LandAddRead, "Land_Add_Read" },
    { R::PresetRead, "Pre_Read" },
    { R::UserLabelRead, "User_Label_Read" },
    { R::ScaleInfoRead, "Scale_Info_Read" },
    { R::ScaleRootInfoRead, "Scale_Root_Info_Read" },
    { R::ScaleRegRead, "Scale_Reg_Read" },
    { R::CommModeRead, "Comm_Mode_Read" },
    { R::ManagersRead, "Mg_Reg_Read" },
    { R::ResultAllRead, "Scale_Result_All_Read" },
    { R::ResultItemAllRead, "Scale_Result_Item_All_Read" },
    { R::ResultItemDayRead, "Scale_Result_Item_Day_Read" },
    { R::ResultDayRead, "Scale_Result_Day_Read" },
    { R::ItemUpdate, "Item_Update" },
    { R::AddUpdate, "Add_Update" },
    { R::AdvUpdate, "Adv_Update" },
    { R::LandAddUpdate, "Land_Add_Update" },
    { R::UserLabelUpdate, "User_Label_Update" },
    { R::ScaleInformationUpdate, "Scale_Information_Update" },
    { R::PresetUpdate, "Pre_Update" },
    { R::PresetUpdateInsert, "Pre_Update_Insert" },
    { R::ItemInsert, "Item_Insert" },
    { R::AddInsert, "Add_Insert" },
    { R::AdvInsert, "Adv_Update_Insert" },
    { R::LandAddInsert, "Land_Add_Update_Insert" },
    { R::UserLabelInsert, "User_Label_Insert" },
    { R::ScaleInformationInsert, "Scale_Information_Insert" },
    { R::ScaleRootInformationInsert, "Scale_Root_Information_Insert" },
    { R::ItemInsertRead, "Item_Insert_Read" },
    { R::AddInsertRead, "Add_Insert_Read" },
    { R::AdvInsertRead, "Adv_Update_Insert_Read" },
    { R::LandAddInsertRead, "Land_Add_Update_Insert_Read" },
    { R::UserLabelInsertRead, "User_Label_Insert_Read" },
    // Lower-case "read": the names as the scale settings screens send them.
    { R::ScaleInformationInsertRead, "Scale_Information_Insert_read" },
    { R::ScaleRootInformationInsertRead, "Scale_Root_Information_Insert_read" },
    { R::ItemDelete, "Item_Insert_Delete" },
    { R::AddDelete, "Add_Insert_Delete" },
    { R::AdvDelete, "AdV_Insert_Delete" },
    { R::LandAddDelete, "Land_Add_Insert_Delete" },
    { R::ScaleInsert, "Scale_Insert" },
    { R::ScaleUpdate, "Scale_Update" },
    { R::ScaleDelete, "Scale_Insert_Delete" },
    { R::ManagerRegister, "Mg_Reg_Insert" },
    { R::ManagerRemove, "Mg_Reg_Delete" },
    { R::ManagerLogin, "Manager_Login" },
    { R::ManagerChange, "Manager_Change" },
    { R::ManagerInsert, "Manager_Insert" },
    { R::ItemReceived, "ITEM_REV" },
});

inline constexpr bool InRequestOrder()
{
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i].request != static_cast<DbRequest>(i))
            return false;
    }
    return kNames.back().request == DbRequest::ItemReceived;
}
static_assert(InRequestOrder(), "one name per request, in the type's order");

} // namespace db_request

// The name of a request in the mailbox ("Item_Read", "Manager_Login" ...).
[[nodiscard]] constexpr const char* RequestName(DbRequest request)
{
    return db_request::kNames[static_cast<std::size_t>(request)].name;
}
// The request a name names; none for another text ("Report", "").
[[nodiscard]] std::optional<DbRequest> RequestOfName(std::string_view name);

// The sales totals' reads.
[[nodiscard]] bool IsResultsRequest(DbRequest request);
// The insert-reads of the four item tables: streamed, they stop after their
// first row; read back, the row fills the grid's insertion row.
[[nodiscard]] bool IsTableInsertRead(DbRequest request);
