#pragma once
// Whole-file reads and writes of the label and cassette files.

#include <optional>

#include "platform/base/bytes.h"
#include "platform/base/cstring.h"

// The bytes of an existing regular file, opened for reading only, at most
// maxBytes of them; nothing when it cannot be opened or is no regular file (a
// pipe would wait for a writer for good).
std::optional<ByteBuffer> ReadExistingFile(const CString& path, std::size_t maxBytes);

// Replaces the file with bytes, keeping an earlier file whole when any
// write fails. FALSE on failure.
[[nodiscard]] BOOL ReplaceFile(const CString& path, const ByteBuffer& bytes);
