#include "ethernet/trans_thread.h"

#include <algorithm>
#include <array>

#include "db/store_paths.h"
#include "ethernet/received_record_store.h"
#include "ethernet/record_sql.h"
#include "ethernet/scale_packet_sender.h"
#include "ethernet/transfer_host.h"
#include "platform/base/datetime.h"
#include "platform/dao/dao_exception.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/wnd.h"

namespace {

using S = TransferStep;

struct KindTable {
    const char* kind;
    TableCode table;
    S clear; // whole send starts with it (S::Close: no clear)
    S trans;
    S allRequest;
    S request; // S::Close: no select read
    int cap; // rows of a send, 0 for no cap
    int lastColumn; // grid columns of a record
    RecordKind received;
};

constexpr KindTable kKinds[] = {
    { "Item", TableCode::Plu, S::PluClear, S::PluTrans, S::PluAllRequest, S::PluRequest, 9000, 15,
        RecordKind::Item },
    { "Add", TableCode::Add, S::AddClear, S::AddTrans, S::AddAllRequest, S::AddRequest, 600, 11,
        RecordKind::Add },
    { "Adv", TableCode::AdvT, S::AdvClear, S::AdvTrans, S::AdvAllRequest, S::AdvRequest, 210, 3,
        RecordKind::AdvT },
    { "Land_addition", TableCode::LandAdd, S::LandAddClear, S::LandAddTrans, S::LandAddAllRequest,
        S::LandAddRequest, 300, 2, RecordKind::LandAdd },
    { "USER_LABEL", TableCode::UserLabel, S::UserLabelClear, S::UserLabelTrans, S::UserLabelAllRequest,
        S::Close, 0, 49, RecordKind::UserLabel },
    { "Pre", TableCode::Preset, S::Close, S::PreTrans, S::PreAllRequest, S::PreRequest, 0, 0,
        RecordKind::Preset },
};

struct ResultKind {
    const char* kind;
    S step;
    RecordKind received;
};

constexpr ResultKind kResultReads[] = {
    { "Scale_Result_All_Read", S::ResultAllRead, RecordKind::TotalResult },
    { "Scale_Result_Item_All_Read", S::ResultItemAllRead, RecordKind::TotalItemResult },
    { "Scale_Result_Item_Day_Read", S::ResultItemDayRead, RecordKind::TotalItemDay },
    { "Scale_Result_Day_Read", S::ResultDayRead, RecordKind::TotalDayResult },
};

const KindTable* FindKind(const CString& kind)
{
    for (const KindTable& k : kKinds) {
        if (kind == k.kind)
            return &k;
    }
    return nullptr;
}

const KindTable* KindOfStep(S step)
{
    for (const KindTable& k : kKinds) {
        if (step == k.clear || step == k.trans || step == k.allRequest || step == k.request)
            return &k;
    }
    return nullptr;
}

const ResultKind* FindResult(const CString& kind)
{
    for (const ResultKind& r : kResultReads) {
        if (kind == r.kind)
            return &r;
    }
    return nullptr;
}

std::string Narrow(const CString& text)
{
    return text.Str();
}

} // namespace

CString JobKindFromViewKind(const CString& viewKind)
{
    if (viewKind == "Scale_Info")
        return "SCALE_INFOMATION";
    if (viewKind == "Scale_Root_Info")
        return "SCALE_ROOT_INFOMATION";
    if (viewKind == "User_Label_Read")
        return "USER_LABEL";
    return viewKind;
}

bool IsResultKind(const CString& kind)
{
    return kind.View().starts_with("Scale_Result_");
}

std::optional<TransferStep> FirstTransferStep(
    const CString& direction, const CString& kind, const CString& selection)
{
    const bool all = selection == "all";
    if (selection != "all" && selection != "select")
        return std::nullopt;
    if (direction == "TRANS") {
        if (kind == "SCALE_INFOMATION")
            return S::SelectScaleInformation;
        if (kind == "SCALE_ROOT_INFOMATION")
            return S::SelectScaleRootInformation;
        if (kind == "Scale_Result_All_Clear")
            return S::ResultAllClear;
        const KindTable* k = FindKind(kind);
        if (k == nullptr)
            return std::nullopt;
        if (k->clear == S::Close) // presets: one page, "all" only
            return all ? std::optional<S>(k->trans) : std::nullopt;
        return all ? k->clear : k->trans;
    }
    if (direction == "RECV") {
        if (const ResultKind* r = FindResult(kind))
            return r->step;
        const KindTable* k = FindKind(kind);
        if (k == nullptr)
            return std::nullopt;
        if (all)
            return k->allRequest;
        return k->request == S::Close ? std::nullopt : std::optional<S>(k->request);
    }
    return std::nullopt;
}

CTransThread::CTransThread()
{
    m_bAutoDelete = FALSE;
}

CTransThread::~CTransThread()
{
    m_socket.Close();
}

void CTransThread::SetJob(
    CTransferJobOwner* owner, const TransferJobTools& tools, UINT_PTR token, const TransferRequest& request)
{
    m_pOwner = owner;
    m_tools.emplace(tools);
    m_token = token;
    m_job = request;
}

void CTransThread::Abandon()
{
    m_bShutDown.store(1);
    m_socket.ShutDown();
}

void CTransThread::WaitForThread()
{
    if (m_hThread != nullptr)
        WaitForSingleObject(m_hThread, INFINITE);
}

// ---- Socket thread -------------------------------------------------------------

int CTransThread::Run()
{
    CScalePacketPoster& poster = m_tools->poster;
    const IoStatus connected = m_socket.Connect(
        m_job.ipAddress.GetString(), static_cast<UINT>(m_job.port), m_tools->timings.connectMs);
    if (!connected.ok()) {
        poster.OnScaleClosed(m_token, connected);
        return 0;
    }
    m_bConnected.store(1);
    if (m_bShutDown.load())
        m_socket.ShutDown();
    ScalePacketFramer framer;
    std::vector<ScalePacketFramer::Event> events;
    std::array<std::uint8_t, kMaxPacketSize> buffer;
    for (;;) {
        std::size_t got = 0;
        const IoStatus s = m_socket.Receive(buffer, got, -1);
        if (!s.ok()) {
            framer.DiscardPending(events);
            for (ScalePacketFramer::Event& e : events)
                poster.OnScaleEvent(m_token, std::move(e));
            poster.OnScaleClosed(m_token, s);
            return 0;
        }
        events.clear();
        framer.Feed(std::span(buffer.data(), got), events);
        for (ScalePacketFramer::Event& e : events)
            poster.OnScaleEvent(m_token, std::move(e));
    }
}

// ---- User-interface thread: packets --------------------------------------------

void CTransThread::Begin()
{
    m_bActive = TRUE;
    m_pOwner->JobActive(TRUE);
    StartTimer();
}

void CTransThread::OnSocketData()
{
    if (m_pOwner->IsHolding()) {
        if (m_bTimerRunning) {
            StopTimer();
            m_bTimerPaused = TRUE;
        }
        m_bHeld = TRUE;
        return;
    }
    if (m_bDraining)
        return; // the loop below takes it
    m_bDraining = TRUE;
    CScalePacketPoster::Item item;
    while (!m_pOwner->IsHolding() && m_tools->poster.Take(m_token, item))
        Handle(item);
    if (m_pOwner->IsHolding())
        m_bHeld = TRUE;
    m_bDraining = FALSE;
}

void CTransThread::ResumeHeld()
{
    if (!m_bHeld)
        return;
    m_bHeld = FALSE;
    if (m_bTimerPaused) {
        m_bTimerPaused = FALSE;
        if (!IsClosed())
            StartTimer();
    }
    OnSocketData();
}

void CTransThread::Handle(const CScalePacketPoster::Item& item)
{
    if (item.closed) {
        m_bEnded = TRUE;
        m_pOwner->NoteJobEnding();
        if (!m_bConnected.load() && !IsClosed()) {
            CloseScale();
            MessageBox(m_job.language == 1 ? "접속실패" : "Connection Failed", MB_OK);
            Finish(IsResultKind(m_job.kind));
        }
        // A scale that hangs up mid-job leaves the reply timer to end the job.
        return;
    }
    if (IsClosed())
        return;
    switch (item.event.kind) {
    case ScalePacketFramer::Kind::Greeting:
        if (m_step == S::Open)
            StartJob();
        return;
    case ScalePacketFramer::Kind::Dropped:
        return;
    case ScalePacketFramer::Kind::Packet:
        // Before the greeting nothing has been asked: the timer goes on.
        if (m_step != S::Open)
            DecodeReply(item.event.packet);
        return;
    }
}

void CTransThread::DecodeReply(const ScalePacket& packet)
{
    ++m_nReceivedPackets;
    m_pOwner->LogReceived(CString::Formatted("IP address = %s.....Data Recving......Packet Num = %5ld",
        m_job.ipAddress, static_cast<long>(m_nReceivedPackets)));
    if (packet.Is(ScaleCommand::Ack)) {
        StopTimer();
        const ResendGuard resends = m_resends;
        m_resends.Reset();
        if (StopRequested())
            return;
        NextStep();
        // An accepted request whose records do not come keeps its budget.
        if (m_bAwaitingData)
            m_resends = resends;
    } else if (packet.Is(ScaleCommand::Nak)) {
        ByteReader reader(packet.payload);
        std::uint16_t code = 0;
        reader.GetU16LE(code);
        OnNak(code);
    } else if (packet.Is(ScaleCommand::Data)) {
        // A record that nobody asked for yet is dropped; the timer goes on.
        if (!m_bAwaitingData)
            return;
        StopTimer();
        m_resends.Reset();
        if (StopRequested())
            return;
        OnDataRecord(&packet);
    } else if (packet.Is(ScaleCommand::EndOfData)) {
        StopTimer();
        SendAck();
        CloseScale();
        MessageBox("Trans Complete", MB_OK);
        Finish(IsResultKind(m_job.kind));
    }
    // Any other command changes nothing; the reply timer keeps running.
}

void CTransThread::OnNak(std::uint16_t code)
{
    if (const char* text = NakText(code)) {
        StopTimer();
        m_resends.Reset();
        if (m_step == S::TaskReset) {
            // The closing reset refused too: end here rather than reset again.
            CloseScale();
            MessageBox(text, MB_OK);
            return;
        }
        MessageBox(text, MB_OK);
        if (IsClosed())
            return;
        SendTaskReset();
        if (IsResultKind(m_job.kind))
            Finish(TRUE);
        return;
    }
    if (code == static_cast<std::uint16_t>(NakCode::NoItem) && IsRequestStep()) {
        StopTimer();
        m_resends.Reset();
        if (StopRequested())
            return;
        OnDataRecord(nullptr);
    }
    // Other refusals: the timer goes on and the packet is sent again.
}

BOOL CTransThread::StopRequested()
{
    if (!m_pOwnerView->GetEthernetStop())
        return FALSE;
    StopTimer();
    m_bAwaitingData = FALSE;
    CloseScale();
    MessageBox("Trans Complete", MB_OK);
    return TRUE;
}

BOOL CTransThread::IsRequestStep() const
{
    switch (m_step) {
    case S::PluRequest:
    case S::AddRequest:
    case S::AdvRequest:
    case S::LandAddRequest:
    case S::PreRequest:
    case S::ResultAllRead:
        return TRUE;
    default:
        return m_bAwaitingData;
    }
}

// ---- Steps ---------------------------------------------------------------------

void CTransThread::StartJob()
{
    StopTimer();
    m_resends.Reset();
    m_nSentPackets = 0;
    m_nReceivedPackets = 0;
    m_bAwaitingData = FALSE;
    m_nRequestIndex = 0;
    m_nRecordIndex = 0;
    m_nStoredCount = 0;
    m_sendRows.clear();
    const std::optional<S> first = FirstTransferStep(m_job.direction, m_job.kind, m_job.selection);
    if (!first) {
        CloseScale();
        return;
    }
    const KindTable* kind = FindKind(m_job.kind);
    switch (*first) {
    case S::SelectScaleInformation:
    case S::SelectScaleRootInformation:
        m_sendRows = { m_pOwnerView->GetCurrentGridRow() };
        m_step = *first;
        Send(*first, RecordPacket(m_sendRows.front()));
        return;
    case S::ResultAllClear:
        Send(*first, EncodeClear(TableCode::TotalResult));
        return;
    case S::ResultAllRead:
        Send(*first, EncodeRequestOne(TableCode::TotalResult, 1));
        return;
    case S::ResultItemAllRead:
        Send(*first, EncodeRequestAll(TableCode::TotalItemResult));
        return;
    case S::ResultItemDayRead:
        Send(*first, EncodeRequestAll(TableCode::TotalItemDay));
        return;
    case S::ResultDayRead:
        Send(*first, EncodeRequestAll(TableCode::TotalDayResult));
        return;
    case S::PreTrans:
        m_sendRows = { 0 };
        m_step = S::PreTrans;
        SendNextRecord();
        return;
    default:
        break;
    }
    if (kind == nullptr)
        return;
    if (*first == kind->clear) {
        Send(*first, EncodeClear(kind->table));
    } else if (*first == kind->trans) {
        m_nDefaultValues = m_job.kind == "Item" ? m_pOwnerView->LoadDefaultValues() : 0;
        m_sendRows = SelectedRows(kind->cap);
        m_step = kind->trans;
        SendNextRecord();
    } else if (*first == kind->allRequest) {
        Send(*first, EncodeRequestAll(kind->table));
    } else {
        m_step = *first;
        RequestNext();
    }
}

void CTransThread::NextStep()
{
    const KindTable* kind = KindOfStep(m_step);
    switch (m_step) {
    case S::PluClear:
    case S::AddClear:
    case S::AdvClear:
    case S::LandAddClear:
    case S::UserLabelClear:
        m_nDefaultValues = m_job.kind == "Item" ? m_pOwnerView->LoadDefaultValues() : 0;
        m_sendRows = CountAllRows(kind->cap);
        m_nRecordIndex = 0;
        m_step = kind->trans;
        SendNextRecord();
        return;
    case S::PluTrans:
    case S::AddTrans:
    case S::AdvTrans:
    case S::LandAddTrans:
    case S::UserLabelTrans:
    case S::PreTrans:
        SendNextRecord();
        return;
    case S::SelectScaleInformation:
    case S::SelectScaleRootInformation:
        Send(S::ResetScale, EncodePacket(ScaleCommand::ResetScale));
        return;
    case S::ResultAllClear:
        CloseScale();
        MessageBox("Trans Complete", MB_OK);
        Finish(TRUE);
        return;
    case S::ResetScale:
    case S::TaskReset:
        CloseScale();
        MessageBox("Trans Complete", MB_OK);
        return;
    default:
        break;
    }
    // The request was accepted: the records may come. An acknowledgement that
    // moves nothing on decides nothing. Either way the wait goes on under the timer.
    if (IsRequestStep() || kind != nullptr || FindResult(m_job.kind) != nullptr)
        m_bAwaitingData = TRUE;
    StartTimer();
}

void CTransThread::OnDataRecord(const ScalePacket* packet)
{
    // A refused record is told and not counted.
    if (packet != nullptr && StoreRecord(*packet)) {
        ++m_nStoredCount;
        m_pOwnerView->ShowTransferProgress(CString::Formatted("%d", m_nStoredCount));
    }
    SendAck();
    switch (m_step) {
    case S::PluRequest:
    case S::AddRequest:
    case S::AdvRequest:
    case S::LandAddRequest:
        if (m_nRequestIndex >= std::max<std::size_t>(m_job.requestNumbers.size(), 1)) {
            CloseScale();
            MessageBox("Trans Complete", MB_OK);
        } else {
            RequestNext();
        }
        return;
    case S::PreRequest:
        CloseScale();
        MessageBox("Trans Complete", MB_OK);
        return;
    case S::ResultAllRead:
        CloseScale();
        MessageBox("Trans Complete", MB_OK);
        Finish(TRUE);
        return;
    default:
        return; // whole reads: the next record or the end of data comes
    }
}

BOOL CTransThread::StoreRecord(const ScalePacket& packet)
{
    RecordKind kind = RecordKind::Item;
    if (const ResultKind* r = FindResult(m_job.kind))
        kind = r->received;
    else if (const KindTable* k = FindKind(m_job.kind))
        kind = k->received;
    else
        return FALSE;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const RecordContext context { Narrow(m_pOwnerView->GetUserId()),
        FormatDay(now.wYear, now.wMonth, now.wDay), Narrow(m_job.ipAddress) };
    return m_tools->database.Store(
        m_job.dbPath, kind, packet.payload, context, RecordCarriage::Tcp,
        [this](
            const CString& request, const CString& sql) { m_pOwnerView->NoteReceivedRecord(request, sql); },
        [this](const CString& text, UINT type) { MessageBox(text, type); });
}

void CTransThread::Finish(BOOL resultStepDone)
{
    if (resultStepDone)
        ::SendMessage(m_pOwnerView->GetTransferWindow(), WM_RESULT_STEP_DONE, 0, 0);
}

// ---- Sending -------------------------------------------------------------------

std::vector<int> CTransThread::CountAllRows(int cap)
{
    int count = m_pOwnerView->GetGridRowCount() - 2;
    if (cap > 0)
        count = std::min(count, cap);
    std::vector<int> rows;
    for (int r = 1; r <= count; ++r)
        rows.push_back(r);
    return rows;
}

std::vector<int> CTransThread::SelectedRows(int cap)
{
    std::vector<int> rows = PickedRows(
        m_pOwnerView->GetTransferSelection(), m_pOwnerView->GetGridRowCount(), PickRule::Transfer);
    if (cap > 0 && rows.size() > static_cast<std::size_t>(cap))
        rows.resize(static_cast<std::size_t>(cap));
    return rows;
}

RecordRow CTransThread::GridRow(int row, int lastColumn)
{
    RecordRow cells(static_cast<std::size_t>(lastColumn) + 1);
    for (int c = 1; c <= lastColumn; ++c)
        cells[static_cast<std::size_t>(c)] = Narrow(m_pOwnerView->GetGridItemText(row, c));
    return cells;
}

ByteBuffer CTransThread::RecordPacket(int row)
{
    if (m_job.kind == "SCALE_INFOMATION")
        return EncodePacket(ScaleCommand::Record, BuildScaleInfoRecord(GridRow(row, 19)));
    if (m_job.kind == "SCALE_ROOT_INFOMATION")
        return EncodePacket(ScaleCommand::Record, BuildScaleRootInfoRecord(GridRow(row, 7)));
    if (m_job.kind == "Pre") {
        std::vector<std::string> keys;
        for (const CString& key : m_pOwnerView->GetPresetKeyTexts())
            keys.push_back(Narrow(key));
        return EncodePacket(ScaleCommand::Record,
            BuildPresetPage(static_cast<std::uint32_t>(m_pOwnerView->GetPresetPage()), keys));
    }
    if (m_job.kind == "USER_LABEL")
        return EncodePacket(ScaleCommand::Record, BuildUserLabelRecord(GridRow(row, 49)).Encode());
    const KindTable* kind = FindKind(m_job.kind);
    if (m_job.kind == "Item") {
        RecordRow cells = GridRow(row, kind->lastColumn);
        if (m_nDefaultValues) {
            const CString user = m_pOwnerView->GetUserId();
            const std::string sql = StoredItemSql(Narrow(user), cells[1], user == kAdministratorId);
            CGeneralDaoHelper& db = m_tools->database;
            CString stored;
            try {
                db.OpenDatabase(m_pOwnerView->GetItemDbPath());
                stored = db.GetRecordAt(CString(sql), 0);
                db.CloseDatabase();
            } catch (CException* e) {
                ExceptionPtr owned(e);
                stored = kDbNoRows;
            }
            if (stored != kDbNoRows && !stored.IsEmpty())
                cells = PluRowFromStoredItem(stored.View());
        }
        return EncodePacket(ScaleCommand::Record, BuildPluRecord(cells).Payload());
    }
    return EncodePacket(ScaleCommand::Record,
        BuildTextRecord(kind->table, GridRow(row, kind->lastColumn), RecordCarriage::Tcp).Encode());
}

void CTransThread::SendNextRecord()
{
    if (m_nRecordIndex >= m_sendRows.size()) {
        SendTaskReset();
        return;
    }
    const int row = m_sendRows[m_nRecordIndex++];
    m_pOwnerView->ShowTransferProgress(CString::Formatted("%d", static_cast<int>(m_nRecordIndex)));
    Send(m_step, RecordPacket(row));
}

void CTransThread::SendTaskReset()
{
    Send(S::TaskReset, EncodePacket(ScaleCommand::TaskReset));
}

void CTransThread::RequestNext()
{
    const KindTable* kind = KindOfStep(m_step);
    std::uint32_t number = 0;
    if (m_step == S::PreRequest)
        number = static_cast<std::uint32_t>(m_pOwnerView->GetPresetReadPage());
    else if (m_nRequestIndex < m_job.requestNumbers.size())
        number = static_cast<std::uint32_t>(m_job.requestNumbers[m_nRequestIndex]);
    ++m_nRequestIndex;
    Send(m_step, EncodeRequestOne(kind->table, number));
}

void CTransThread::Send(TransferStep step, ByteBuffer packet)
{
    m_step = step;
    m_bAwaitingData = FALSE;
    // The packets come from the fixed-size encoders (EncodeClear ...), which
    // always give one whole packet.
    static_cast<void>(m_lastSent.Keep(std::move(packet)));
    SendPacket();
}

void CTransThread::SendAck()
{
    static_cast<void>(m_lastSent.Keep(EncodePacket(ScaleCommand::Ack))); // an empty payload always builds
    SendPacket();
}

void CTransThread::SendPacket()
{
    StartTimer();
    if (m_lastSent.Length() == 0)
        return;
    const std::span<const std::uint8_t> bytes = m_lastSent.Bytes();
    // While other scales' packets wait for this thread, the send goes to the
    // sender's thread; otherwise it is written here, a hop sooner.
    m_tools->sender.Send(m_token, m_socket, ByteBuffer(bytes.begin(), bytes.end()), m_tools->timings.sendMs,
        m_tools->poster.WaitingJobs() == 0);
    ++m_nSentPackets;
    m_pOwner->LogSent(CString::Formatted("IP address = %s.....Data Sending......Packet Num = %5ld",
        m_job.ipAddress, static_cast<long>(m_nSentPackets)));
}

void CTransThread::StartTimer()
{
    m_bTimerRunning = TRUE;
    ::SetTimer(
        m_pOwnerView->GetTransferWindow(), static_cast<UINT_PTR>(m_job.timerId), m_tools->timings.replyMs);
}

void CTransThread::StopTimer()
{
    m_bTimerRunning = FALSE;
    m_bTimerPaused = FALSE;
    ::KillTimer(m_pOwnerView->GetTransferWindow(), static_cast<UINT_PTR>(m_job.timerId));
}

void CTransThread::OnReplyTimeout()
{
    StopTimer();
    if (IsClosed())
        return;
    if (m_resends.MayResend()) {
        m_resends.Count();
        SendPacket();
        return;
    }
    m_resends.Reset();
    CloseScale();
    MessageBox("3 times out", MB_OK);
}

void CTransThread::CloseScale()
{
    StopTimer();
    m_bAwaitingData = FALSE;
    m_step = S::Close;
    m_pOwner->NoteJobEnding();
    m_bShutDown.store(1);
    if (m_bConnected.load())
        m_tools->sender.ShutDown(m_token, m_socket); // after the job's packets queued before
    else
        m_socket.ShutDown();
    if (m_bActive) {
        m_bActive = FALSE;
        m_pOwner->JobActive(FALSE);
    }
    m_pOwner->LogSent(CString::Formatted("IP address = %s.....Data Send Finished", m_job.ipAddress));
}

int CTransThread::MessageBox(const CString& text, UINT type)
{
    return m_pOwner->JobMessageBox(text, type);
}
