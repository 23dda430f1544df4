#pragma once
// The program's own store databases, as the program names them.

// Managers, their users and the scale register ([Manager], [ScaleMG]).
inline constexpr const char* kManagerDatabase = "C:\\Windows\\system\\Manager\\Manager.mdb";
