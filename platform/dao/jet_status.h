#pragma once
// Internal: the result of an engine step. Engine code returns a JetStatus; the
// public classes turn a failed one into a CDaoException at one place
// (ThrowIfFailed). Error numbers and texts follow the Jet engine's own.

#include "platform/base/cstring.h"

enum class JetError : long {
    None = 0,
    Generic = 3000,
    NoCurrentRecord = 3021,
    DuplicateValue = 3022,
    FileNotFound = 3024,
    DiskFull = 3026,
    ReadOnly = 3027,
    InvalidPassword = 3031,
    NoTransaction = 3034,
    DiskOrNetwork = 3043,
    FileInUse = 3045,
    CorruptDatabase = 3049,
    SelectNotExecutable = 3065,
    UnknownTable = 3078,
    TooFewParameters = 3061,
    UnknownInsertField = 3127,
    InvalidStatement = 3129,
    TrailingCharacters = 3142,
    FieldTooSmall = 3163,
    DatabaseExists = 3204,
    InvalidOperation = 3219,
    Locked = 3260,
    FieldDefinition = 3292,
    RequiredField = 3314,
    UnrecognizedFormat = 3343,
    NotOpen = 3420,
};

struct [[nodiscard]] JetStatus {
    JetError code = JetError::None;
    CString text;

    bool Ok() const { return code == JetError::None; }
    static JetStatus Success() { return JetStatus(); }
    static JetStatus Fail(JetError error, const CString& message) { return JetStatus { error, message }; }
};

// Throws the status as a CDaoException when it is a failure.
void ThrowIfFailed(const JetStatus& status, const char* source);
