#pragma once
// The per-manager settings files of the data folder: the default values that
// the work screen puts into a new item, and the values of Information Change.
// Text files, CP949 on disk, CR LF after every line the writer ends; readers
// take every line whole, whatever its length; a missing file reads as empty.
//
//   Default_Value_<id>.bin           on: "<id>" CR LF "TRUE"; off: "FALSE"
//                                    (no line end after the last line)
//   Default_Check_Value_<id>.bin     column name, value, column name, value ...
//   Default_Uncheck_Index_<id>.bin   one column name per line
//   Total_Value_<id>.bin             as Default_Check_Value
//   Total_Value_Uncheck_Index_<id>.bin  as Default_Uncheck_Index

#include <array>
#include <optional>
#include <vector>

#include "db/item_schema.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"

inline constexpr const char* kSettingsFolder = "C:\\Windows\\system\\Manager";
inline constexpr const char* kDefaultValueFile = "Default_Value";
inline constexpr const char* kDefaultCheckValueFile = "Default_Check_Value";
inline constexpr const char* kDefaultUncheckIndexFile = "Default_Uncheck_Index";
inline constexpr const char* kTotalValueFile = "Total_Value";
inline constexpr const char* kTotalValueUncheckIndexFile = "Total_Value_Uncheck_Index";

// The one rule from a manager id to a settings file:
// "C:\Windows\system\Manager\<stem>_<id>.bin". The id stays one file-name
// component: '\', '/' and '%' in it are written as "%5C", "%2F" and "%25", so
// no id reaches another folder and no two ids share a file. Any other id is
// used exactly as logged in.
CString ManagerSettingsPath(const char* stem, const CString& userId);

// The item columns of the settings files are the Item table's value columns
// (kItemValueColumns), in file order.
inline constexpr int kItemSettingCount = static_cast<int>(kItemValueCount);

// Every line of a settings file (UTF-8, without its LF or CR LF), read whole;
// none for a missing or unreadable file. The one reader of the data folder's
// small text files.
std::vector<CString> ReadSettingsLines(const CString& path);

// The values of a value file by column: an odd line that names one of the
// fifteen columns selects it and the next line is its value (a later pair of
// the same column wins); other pairs are dropped.
using ItemSettingValues = std::array<std::optional<CString>, kItemSettingCount>;
ItemSettingValues ReadItemSettingValues(const CString& path);

// TRUE when the manager's default values are on: the first line of
// Default_Value_<id>.bin is the id exactly and the last line after it is
// neither "FALSE" nor empty.
BOOL IsDefaultValueOn(const CString& userId);
