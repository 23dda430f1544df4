#pragma once
// The user-label record of the label values, as the label tool sends and
// reads it: the shared 106-byte UserLabelRecord, with the sale kind mark in
// bytes 72-77 and the advertisement lines as the viewer's index + 1.

#include <optional>

#include "labeltool/label_values.h"
#include "protocol/scale_records.h"

// The record of the values under the file number (positions in dots, label
// length x 10). Values that do not fit their fields are cut: check them first
// with LabelRecordMisfit.
UserLabelRecord LabelRecordFromValues(const LabelValues& values, int fileNumber);

// The values a received record gives (positions back from dots, label length
// / 10, advertisement lines - 1); the file number is the record's.
LabelValues LabelValuesFromRecord(const UserLabelRecord& record);

// The box text for the first value that does not fit its record field (file
// number 16 bits, barcode length 8 bits, label length x 10, width and gap 16
// bits); nothing when all fit.
std::optional<const char*> LabelRecordMisfit(const LabelValues& values, int fileNumber);
