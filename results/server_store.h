#pragma once
// Server_Store.mdb: the results server stores every reported sale in its
// [Server_DB], the synchronisation fills its item tables for the server to
// answer from, and the result dialogs sum its sales.

#include "platform/base/types.h"

inline constexpr const char* kServerDatabase = "C:\\Windows\\system\\Manager\\Server_Store.mdb";
// The template the file is provisioned from.
inline constexpr UINT kServerTemplateId = 195;
