#pragma once
// The records a TCP job sends, built from the rows its order carries (read
// when the user started it).

#include <cstddef>

#include "ethernet/transfer_job_owner.h"
#include "platform/base/bytes.h"

class CGeneralDaoHelper;

// Records the order sends (its rows; the preset page is one).
[[nodiscard]] std::size_t OrderRecordCount(const TransferRequest& job);
// The packet of record index; an item with default values is read from the
// stored item through db.
[[nodiscard]] ByteBuffer RecordPacket(const TransferRequest& job, std::size_t index, CGeneralDaoHelper& db);
