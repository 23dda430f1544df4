#pragma once
// TransferTally: how far a TCP job got, and the texts its endings show: the
// records of the order, those the scale took (or took for certain), what a
// read stored, refused, cut and dropped as a copy, the scale's refusal.

#include <cstddef>

#include "ethernet/transfer_job_owner.h"
#include "platform/base/cstring.h"

struct TransferTally {
    std::size_t recordTotal = 0; // records a sending job sends
    std::size_t recordsAcked = 0; // records the scale accepted
    std::size_t recordsSent = 0; // records sent (the next one's index)
    std::size_t requestsSent = 0; // numbers a read asked for
    int packetsSent = 0; // as the progress window numbers them
    int packetsReceived = 0;
    int stored = 0; // records a read stored
    int refused = 0; // received records the database refused
    int cutLines = 0; // received text lines stored cut to their column
    int droppedCopies = 0; // records the scale sent again, not stored
    CString refusal; // the scale's refusal that the closing reset follows
    bool certainOnly = false; // the answers could not be matched: recordsAcked is the certain count
    bool unanswered = false; // a Stop's record in flight got no answer by its deadline

    // A job that did not go through: how it ended, how far it got, for which scale.
    [[nodiscard]] CString Summary(const TransferRequest& job, const CString& how) const;
    // A read's records: how many were stored, where, and copies dropped.
    [[nodiscard]] CString StoredText(const TransferRequest& job) const;
};

// The scale's name and address, as the messages name it.
[[nodiscard]] CString ScaleLabel(const TransferRequest& job);
// The text as the box shows it: with several scales, the scale's name first.
[[nodiscard]] CString NamedForBox(const TransferRequest& job, const CString& text);
