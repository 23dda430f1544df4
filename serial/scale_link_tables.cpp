// The table steps of the scale link: the records of the order one after the
// other, the requests of a read and the records it brings back.

#include <algorithm>
#include <cstdlib>

#include "platform/base/datetime.h"
#include "serial/scale_link.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_walk_state.h"
#include "serial/table_routes.h"

using W = SerialWord;

namespace {

constexpr std::size_t kMaxPicks = 1000;

// The day on the program's clock, as the TCP jobs take it.
std::string Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FormatDay(now.wYear, now.wMonth, now.wDay);
}

std::optional<SerialWord> RouteWord(const DataKindInfo& kind, RouteStep which)
{
    switch (which) {
    case RouteStep::Clear:
        return kind.serialClear;
    case RouteStep::Data:
        return kind.serialData;
    case RouteStep::SelectData:
        return kind.serialSelectData;
    case RouteStep::AllRequest:
        return kind.serialAllRequest;
    case RouteStep::Request:
        return kind.serialRequest;
    }
    return std::nullopt;
}

} // namespace

const DataKindInfo* FindRoute(RouteStep which, const CString& word)
{
    for (const DataKindInfo& kind : AllKinds()) {
        const std::optional<SerialWord> own = RouteWord(kind, which);
        if (own && word == *own)
            return &kind;
    }
    return nullptr;
}

// ---- sending ---------------------------------------------------------------------

// The selection was counted and capped when the user started.
int CScaleLink::CountSelection()
{
    m_selectedRows = m_frames.Rows().gridRows;
    m_nRecordCount = static_cast<int>(m_selectedRows.size());
    m_nRecordIndex = 0;
    return m_nRecordCount;
}

void CScaleLink::SendTableData(const DataKindInfo& route)
{
    // Rows 1 to count are the order's records 0 to count - 1.
    m_frames.SendTableData(route, m_nRecordIndex - 1, m_nRecordIndex);
}

void CScaleLink::SendTableSelectData(const DataKindInfo& route)
{
    m_frames.SendTableSelectData(route, m_nRecordIndex);
}

// ---- requests ------------------------------------------------------------------

int CScaleLink::CountRequestNumbers()
{
    m_requestNumbers.clear();
    for (int n : m_requestSource) {
        if (n == 0 || m_requestNumbers.size() >= kMaxPicks)
            break;
        m_requestNumbers.push_back(n);
    }
    m_nRequestCount = static_cast<int>(m_requestNumbers.size());
    m_nRequestPosition = 0;
    return m_nRequestCount;
}

void CScaleLink::RequestNextOrEnd(const CString& step)
{
    const DataKindInfo* route = FindRoute(RouteStep::Request, step);
    if (m_nRequestPosition >= m_nRequestCount || !route) {
        m_frames.SendEndJoin();
        return;
    }
    // The count is the numbers' own: the position is one of them.
    const int number = m_requestNumbers[static_cast<std::size_t>(m_nRequestPosition++)];
    m_frames.SendTableRequest(*route, static_cast<std::uint32_t>(number));
}

void CScaleLink::SendRequestEnd()
{
    m_pEngine->ClearReceivedFrame();
    m_frames.SendAck(Text(W::RequestEnd));
    m_pEngine->RunLater(m_pauseMs, [this] { m_frames.SendEndJoin(); });
}

// ---- received records -------------------------------------------------------------

bool CScaleLink::OnDataRecord(const CString& step, RecordKind kind)
{
    LinkFrame frame;
    const ByteBuffer received = m_pEngine->GetReceivedFrame();
    if (!ParseLinkFrame(received, frame).ok())
        return false;
    RecordContext context;
    context.mgId = m_frames.Rows().userId;
    context.revDay = Today();
    const ScaleId id = m_pWalk->GetCurrentScaleId();
    context.currentScale.assign(id.begin(), id.end());
    const std::uint8_t count = frame.header.pieceCount;
    const std::uint8_t number = frame.header.pieceNumber;
    const CReceivedRecords::Taken taken = m_records.Take(frame, kind, m_pEngine->GetResendCount(), context);
    if (taken == CReceivedRecords::Taken::Copy) {
        TakeCopy(step, count, number);
        return false;
    }
    m_frames.SendAck(step, count, number);
    if (taken == CReceivedRecords::Taken::Piece)
        return false;
    if (step == W::PreRequest)
        m_frames.SendEndJoin();
    else if (step == W::ResultAllReadStep)
        m_pEngine->RunLater(m_pauseMs, [this] { m_frames.SendEndJoin(); });
    return true;
}

// A whole read acknowledges a copy, as the scale waits for that; a read by
// number waits on for the answer to its next request.
void CScaleLink::TakeCopy(const CString& step, std::uint8_t count, std::uint8_t number)
{
    if (FindRoute(RouteStep::Request, step) || step == W::PreRequest || step == W::ResultAllReadStep)
        m_pEngine->KeepWaiting();
    else
        m_frames.SendAck(step, count, number);
}
