#pragma once
// DAO option and type constants, with the numbers DAO gives them.

// Execute options.
inline constexpr int dbDenyWrite = 1;
inline constexpr int dbInconsistent = 16;
inline constexpr int dbConsistent = 32;
inline constexpr int dbSQLPassThrough = 64;
inline constexpr int dbFailOnError = 128;

// Engine error numbers a caller tells apart.
inline constexpr long kDaoErrorFileInUse = 3045; // another program holds the file
inline constexpr long kDaoErrorDiskFull = 3026; // not enough space on disk

// Recordset types.
inline constexpr int AFX_DAO_USE_DEFAULT_TYPE = -1;
inline constexpr int dbOpenTable = 1;
inline constexpr int dbOpenDynaset = 2;
inline constexpr int dbOpenSnapshot = 4;
inline constexpr int dbOpenForwardOnly = 8;

// Field types (CDaoFieldInfo::m_nType).
inline constexpr short dbBoolean = 1;
inline constexpr short dbByte = 2;
inline constexpr short dbInteger = 3;
inline constexpr short dbLong = 4;
inline constexpr short dbCurrency = 5;
inline constexpr short dbSingle = 6;
inline constexpr short dbDouble = 7;
inline constexpr short dbDate = 8;
inline constexpr short dbText = 10;
inline constexpr short dbLongBinary = 11;
inline constexpr short dbMemo = 12;

// Field attributes (CDaoFieldInfo::m_lAttributes).
inline constexpr long dbFixedField = 0x1;
inline constexpr long dbVariableField = 0x2;
inline constexpr long dbAutoIncrField = 0x10;

// Field information levels.
inline constexpr unsigned long AFX_DAO_PRIMARY_INFO = 0x1;
inline constexpr unsigned long AFX_DAO_SECONDARY_INFO = 0x2;
inline constexpr unsigned long AFX_DAO_ALL_INFO = 0x3;

// Locale of a new database; ";pwd=<password>" may be appended to key it.
inline constexpr const char* dbLangGeneral = ";LANGID=0x0409;CP=1252;COUNTRY=0";
