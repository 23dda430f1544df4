#pragma once
// The store databases' password, written out here so that tests do not take it
// from the code they test.

inline constexpr const char* kStorePassword = "quendrav";
// The connect string that opens a store database.
inline constexpr const char* kStoreConnect = ";PWD=quendrav";
// The connect string of a new database, with its locale.
inline constexpr const char* kStoreLocaleConnect = ";LANGID=0x0409;CP=1252;COUNTRY=0;pwd=quendrav";
