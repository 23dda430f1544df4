#include "ethernet/transfer_records.h"

#include "db/general_dao_helper.h"
#include "db/record_sql.h"
#include "db/store_paths.h"
#include "platform/base/exception.h"
#include "protocol/scale_packet.h"
#include "protocol/scale_records.h"

namespace {

// Cells 0 to the kind's last column of the job's record index.
RecordRow JobRow(const TransferRequest& job, std::size_t index)
{
    RecordRow cells(static_cast<std::size_t>(KindInfo(job.kind).lastColumn) + 1);
    if (!job.rows || index >= job.rows->rows.size())
        return cells;
    const RecordRow& taken = job.rows->rows[index];
    for (std::size_t c = 1; c < cells.size(); ++c)
        cells[c] = std::string(Cell(taken, c));
    return cells;
}

// The item's cells from the grid, or, with default values, from the stored item.
RecordRow ItemCells(const TransferRequest& job, std::size_t index, CGeneralDaoHelper& db)
{
    RecordRow cells = JobRow(job, index);
    if (!job.rows || !job.rows->defaultValues)
        return cells;
    const std::string& user = job.rows->userId;
    const std::string sql = StoredItemSql(user, cells[1], user == kAdministratorId);
    CString stored;
    try {
        db.OpenDatabase(job.rows->itemDbPath);
        stored = db.GetRecordAt(CString(sql), 0);
        db.CloseDatabase();
    } catch (CException* e) {
        ExceptionPtr owned(e);
        stored = kDbNoRows;
    }
    if (stored != kDbNoRows && !stored.IsEmpty())
        cells = PluRowFromStoredItem(stored.View());
    return cells;
}

} // namespace

std::size_t OrderRecordCount(const TransferRequest& job)
{
    if (job.kind == DataKind::Preset)
        return 1; // the page
    return job.rows ? job.rows->rows.size() : 0;
}

ByteBuffer RecordPacket(const TransferRequest& job, std::size_t index, CGeneralDaoHelper& db)
{
    const DataKindInfo& kind = KindInfo(job.kind);
    switch (job.kind) {
    case DataKind::ScaleInfo:
        return EncodePacket(ScaleCommand::Record, BuildScaleInfoRecord(JobRow(job, index)));
    case DataKind::ScaleRootInfo:
        return EncodePacket(ScaleCommand::Record, BuildScaleRootInfoRecord(JobRow(job, index)));
    case DataKind::Preset: {
        const TransferRows none;
        const TransferRows& taken = job.rows ? *job.rows : none;
        return EncodePacket(ScaleCommand::Record,
            BuildPresetPage(static_cast<std::uint32_t>(taken.presetPage), taken.presetKeys));
    }
    case DataKind::UserLabel:
        return EncodePacket(ScaleCommand::Record, BuildUserLabelRecord(JobRow(job, index)).Encode());
    case DataKind::Item:
        return EncodePacket(ScaleCommand::Record, BuildPluRecord(ItemCells(job, index, db)).Payload());
    default:
        return EncodePacket(ScaleCommand::Record,
            BuildTextRecord(kind.table, JobRow(job, index), RecordCarriage::Tcp).Encode());
    }
}
