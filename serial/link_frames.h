#pragma once
// CLinkFrames: the frames of a scale link session, its own and those of the
// order's records. Each sender builds one link frame (header, payload, sum;
// numbered by the link's frame counter) and hands it to the engine: the frame
// into its transmit buffer, the frame length, the step word and an empty reply
// kind into the serial mailbox, then CSerialTransEngine::RunCommand. UI thread
// only.

#include <cstdint>
#include <span>

#include "platform/base/bytes.h"
#include "platform/base/cstring.h"
#include "protocol/data_kinds.h"
#include "protocol/link_frame.h"
#include "protocol/record_values.h"
#include "protocol/scale_codes.h"
#include "protocol/scale_records.h"
#include "protocol/serial_words.h"
#include "serial/serial_walk_state.h"
#include "transfer/transfer_rows.h"

class CSerialHost;
class CSerialTransEngine;

class CLinkFrames {
public:
    void SetOwner(CSerialHost* host, CSerialTransEngine* engine, const CSerialWalkState* walk);

    // The frame counter starts again at 1 (every transfer start).
    void ResetSequence() { m_sequence = FrameSequence(); }

    // A frame of command with payload to scaleId, handed over as step.
    void Send(SerialWord step, ScaleCommand command, std::span<const std::uint8_t> payload, ScaleId scaleId);
    // The join frame to the scale of id.
    void SendJoin(ScaleId id);
    // The acknowledgement of a record or of its piece, run as step.
    void SendAck(const CString& step, std::uint8_t pieceCount = 0, std::uint8_t pieceNumber = 0);
    void SendEndJoin();
    // No frame: the engine closes the port.
    void SendClose();

    // ---- the order's records: one route per table -----------------------------------
    // What the walk sends, read from the screen when the user started it.
    void SetRows(TransferRowsPtr rows) { m_rows = std::move(rows); }
    const TransferRows& Rows() const;
    void SendTableClear(const DataKindInfo& route);
    // Record index of the order (0 the first) as the route's data step;
    // progress: the record's position as the progress edit shows it.
    void SendTableData(const DataKindInfo& route, int index, int progress);
    void SendTableSelectData(const DataKindInfo& route, int index);
    void SendTableAllRequest(const DataKindInfo& route);
    void SendTableRequest(const DataKindInfo& route, std::uint32_t number);
    void SendPresetData();
    void SendResultAllClear();
    void SendPresetAllRequest();
    void SendPresetRequest();
    void SendResultRead(DataKind kind);
    void SendScaleInfo();
    void SendScaleRootInfo();
    void SendResetScale();

private:
    // The scale a frame of the session goes to: "99" in a broadcast, unless
    // ownIdAlways, else the current scale.
    ScaleId FrameScaleId(bool ownIdAlways = false) const;
    // A record; progress goes to the work screen's progress edit.
    void SendRecord(SerialWord step, std::span<const std::uint8_t> payload, int progress);
    // A clear; restartSequence: it carries 0, the records after it 1, 2, ...
    void SendClear(SerialWord step, TableCode table, std::uint8_t second, bool restartSequence);
    void SendRequest(SerialWord step, ScaleCommand command, TableCode table, const std::uint32_t* number);
    ByteBuffer RecordPayload(const DataKindInfo& route, int index);
    // The PLU record of a row: from its cells, or from its [Item] row when
    // default values are in force.
    PluRecord BuildPluRecord(int index);
    // The cells of the order's record index.
    RecordRow RowAt(int index) const;

    ByteBuffer BuildFrame(std::uint16_t command, std::span<const std::uint8_t> payload, ScaleId scaleId,
        std::uint8_t pieceCount = 0, std::uint8_t pieceNumber = 0);
    void HandOff(const CString& step, ByteBuffer frame);

    CSerialHost* m_pHost = nullptr;
    CSerialTransEngine* m_pEngine = nullptr;
    const CSerialWalkState* m_pWalk = nullptr;
    FrameSequence m_sequence;
    TransferRowsPtr m_rows;
};
