#pragma once
// Scales on one serial line, as SerialScale's script: each scale ID of the line
// joins with its version character, keeps the tables it is sent (clears,
// records whole or in pieces) and answers requests with its records, piece by
// piece, each after the PC's acknowledgement, then the end of data. A broadcast
// ("99") reaches every scale joined; only the scale told it is first answers.
// Its answers carry the number of the frame they answer.
// Faults on purpose: silent IDs (not on the line), a newer version, wrong sums
// and refusals picked per frame.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/scale_sim.h"

namespace scalesim {

// A link frame from scale id answering frame to: it carries to's number.
Bytes AnswerFrame(const std::string& id, std::uint16_t command, const Bytes& payload, const SerialFrame& to);

// The state of the scales and their answers; shared with the line's script,
// so that a frame arriving after the model is gone still finds it.
class SerialScaleCore {
public:
    // A scale's records by table code, then by record number (the u32 at
    // payload offset 2); each value is the whole payload, table code first.
    using Table = std::map<std::uint32_t, Bytes>;
    using Tables = std::map<std::uint8_t, Table>;

    explicit SerialScaleCore(std::set<std::string> ids);

    // Configuration (before the line starts, or under the model's use).
    void SetVersion(const std::string& id, char version);
    void Put(const std::string& id, const Bytes& payload);
    // Replies to frames for which corrupt holds carry a wrong sum.
    void SetCorrupt(std::function<bool(const SerialFrame&)> corrupt);
    // A NAK with the returned code instead of the usual answer.
    void SetRefusal(std::function<std::optional<std::uint16_t>(const SerialFrame&)> refusal);
    // Records that the scale of the ID acknowledges but does not keep.
    void SetDropped(std::function<bool(const std::string& id, const SerialFrame&)> dropped);

    // What the scales hold and did.
    Tables TablesOf(const std::string& id) const;
    std::vector<std::string> Joined() const;
    // Link frames each scale was addressed by (its own ID or "99"), in order.
    std::vector<std::uint16_t> CommandsTo(const std::string& id) const;

    // The answer to one frame (the script's body).
    SerialReply Answer(const SerialFrame& frame);

private:
    struct Scale {
        char version = '2';
        Tables tables;
        bool joined = false;
        std::vector<std::uint16_t> commands;
        Bytes assembly; // a record coming in pieces
        std::deque<Bytes> outgoing; // frames of a read, sent one per acknowledgement
        bool endAfterOutgoing = false; // an "all" read ends with the end of data
    };

    SerialReply FromScale(const std::string& id, Scale& scale, const SerialFrame& frame);
    void Store(Scale& scale, const SerialFrame& frame);
    void QueueRecord(const std::string& id, Scale& scale, const Bytes& payload);
    Bytes Reply(const std::string& id, std::uint16_t command, const Bytes& payload, const SerialFrame& to,
        std::uint8_t pieceCount = 0, std::uint8_t pieceNumber = 0);

    mutable std::mutex m_lock;
    std::map<std::string, Scale> m_scales;
    std::vector<std::string> m_joined;
    std::string m_first; // the scale that answers for all in a broadcast
    std::function<bool(const SerialFrame&)> m_corrupt;
    std::function<std::optional<std::uint16_t>(const SerialFrame&)> m_refusal;
    std::function<bool(const std::string&, const SerialFrame&)> m_dropped;
};

class SerialScaleModel {
public:
    using Table = SerialScaleCore::Table;
    using Tables = SerialScaleCore::Tables;

    explicit SerialScaleModel(std::set<std::string> ids = { "07" })
        : m_core(std::make_shared<SerialScaleCore>(std::move(ids)))
    { }

    // The script to give SerialScale::Start; it keeps the model's state alive
    // for as long as the line may call it.
    SerialScript Script()
    {
        return [core = m_core](const SerialFrame& frame, std::size_t) { return core->Answer(frame); };
    }

    void SetVersion(const std::string& id, char version) { m_core->SetVersion(id, version); }
    void Put(const std::string& id, const Bytes& payload) { m_core->Put(id, payload); }
    void SetCorrupt(std::function<bool(const SerialFrame&)> corrupt)
    {
        m_core->SetCorrupt(std::move(corrupt));
    }
    void SetRefusal(std::function<std::optional<std::uint16_t>(const SerialFrame&)> refusal)
    {
        m_core->SetRefusal(std::move(refusal));
    }
    Tables TablesOf(const std::string& id) const { return m_core->TablesOf(id); }
    std::vector<std::string> Joined() const { return m_core->Joined(); }
    std::vector<std::uint16_t> CommandsTo(const std::string& id) const { return m_core->CommandsTo(id); }
    void SetDropped(std::function<bool(const std::string& id, const SerialFrame&)> dropped)
    {
        m_core->SetDropped(std::move(dropped));
    }
    SerialReply Answer(const SerialFrame& frame) { return m_core->Answer(frame); }

private:
    std::shared_ptr<SerialScaleCore> m_core;
};

} // namespace scalesim
