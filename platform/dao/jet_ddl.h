#pragma once
// Internal: Jet data-definition statements in SQLite form.
//
// Accepted (names bare or in brackets, keywords in any case):
//   CREATE TABLE t ( col type [NOT NULL] [[CONSTRAINT n] PRIMARY KEY], ...
//                    [, CONSTRAINT n PRIMARY KEY (col)] )
//   ALTER TABLE t ADD [COLUMN] col type [NOT NULL]
//   CREATE [UNIQUE] INDEX n ON t (col [ASC|DESC], ...) [WITH PRIMARY]
// Types: TEXT(n) (CHAR, VARCHAR; 255 when no size), LONG (INT, INTEGER),
// COUNTER (AUTOINCREMENT), MEMO (LONGTEXT, NOTE).
//
// The Jet rules kept: text compares without case (COLLATE NOCASE); a TEXT(n)
// value longer than n characters is refused (a CHECK named "size:<col>");
// an autonumber is the table's primary key and never hands out a number twice
// (INTEGER PRIMARY KEY AUTOINCREMENT, declared type "INTEGER"); MEMO is stored
// with the declared type "LONGTEXT" (its Jet synonym) so that it keeps text
// affinity; index names are per table in Jet and stored as "<table>.<index>".

#include "platform/base/cstring.h"
#include "platform/dao/jet_status.h"

// Name prefix of the CHECK that enforces a text column's size.
inline constexpr const char* kJetSizeCheckPrefix = "size:";

// True when sql is a data-definition statement of the forms above.
bool IsJetDdl(const CString& sql);

// Translates one Jet data-definition statement; fails with FieldDefinition or
// InvalidStatement (and a readable text) on anything it does not accept.
JetStatus TranslateJetDdl(const CString& sql, CString& sqliteSql);
