#pragma once
// The words of the serial mailbox (serial/serial_mailbox.h) that the work
// screen, the serial engine and the scale link pass each other: steps, result
// and status words (commands, kinds and scopes are in data_kinds.h). The
// texts are those of the mailbox edits and stay as they are; every word has
// one entry in serial_words.cpp.

#include <initializer_list>

#include "platform/base/cstring.h"

enum class SerialWord {
    // session steps (1022); "ENDJOIN", "ALL_ENDJOIN" and "CLOSE" are status words
    // too
    Open,
    Join,
    EndJoin,
    Close,
    RequestEnd,
    ResetScale,
    BroadStart,
    BroadStatusRequest,
    AllEndJoin,
    AllReset,
    // sending steps (1022)
    PluClear,
    PluData,
    PluSelectData,
    AddClear,
    AddData,
    AddSelectData,
    AdvClear,
    AdvData,
    AdvSelectData,
    LandAddClear,
    LandAddData,
    LandAddSelectData,
    UserLabelClear,
    UserLabelData,
    UserLabelSelectData,
    PreData,
    SelectScaleInformation,
    SelectScaleRootInformation,
    ResultAllClearStep,
    // reading steps (1022)
    PluAllRequest,
    PluRequest,
    AddAllRequest,
    AddRequest,
    PreAllRequest,
    PreRequest,
    AdvAllRequest,
    AdvRequest,
    LandAddAllRequest,
    LandAddRequest,
    UserLabelAllRequest,
    ResultAllReadStep,
    ResultItemAllReadStep,
    ResultItemDayReadStep,
    ResultDayReadStep,
    // result words written over the step (1022)
    EndItem,
    MemoryFull,
    ProcessError,
    DataLengthMiss,
    BroadMemoryFull,
    BroadProcessError,
    BroadDataLengthMiss,
    // status words (1023)
    Ok,
    PortOpenError,
    JoinError,
    BroadJoinError,
    TimeOut,
    ThreeTimeError,
    BroadThreeTimeError,
    // the reply kind (1024) and the missing-record mark (1025)
    Report,
    NoItem,
};

// The word's text.
[[nodiscard]] const char* Text(SerialWord word);

// True when text is the word (compared whole, with its case).
[[nodiscard]] bool operator==(const CString& text, SerialWord word);

// True when text is one of the words.
[[nodiscard]] bool IsOneOf(const CString& text, std::initializer_list<SerialWord> words);
