#pragma once
// The program's own store databases, as the program names them, and the
// administrator's manager id, who sees every manager's rows.

inline constexpr const char* kAdministratorId = "vexo";

// The folder of the program's own databases and settings.
inline constexpr const char* kManagerFolder = "C:\\Windows\\system\\Manager";

// Managers, their users and the scale register ([Manager], [ScaleMG]).
inline constexpr const char* kManagerDatabase = "C:\\Windows\\system\\Manager\\Manager.mdb";
// The scale settings ([Scale_Info], [Scale_Root_Info]).
inline constexpr const char* kScaleSettingsDatabase = "C:\\Windows\\system\\Manager\\Manager_ScaleInfo.mdb";
// Reservations and the item copies they send ([Reservation_Table], [Item]).
inline constexpr const char* kReservationDatabase = "C:\\Windows\\system\\Manager\\Reservation_Store.mdb";
