#include "ethernet/transfer_tally.h"

CString ScaleLabel(const TransferRequest& job)
{
    if (job.scaleName.IsEmpty())
        return job.ipAddress;
    return CString::Formatted("%s (%s)", job.scaleName, job.ipAddress);
}

CString NamedForBox(const TransferRequest& job, const CString& text)
{
    return job.scaleCount > 1 ? ScaleLabel(job) + ": " + text : text;
}

CString TransferTally::Summary(const TransferRequest& job, const CString& how) const
{
    if (job.direction == TransferCommand::Recv)
        return CString::Formatted("%s: %s, receive incomplete: %s.", ScaleLabel(job), how, StoredText(job));
    if (job.kind == DataKind::ResultAllClear)
        return CString::Formatted("%s: %s, the totals were not cleared.", ScaleLabel(job), how);
    CString text = CString::Formatted("%s: %s, %d of %d records sent%s.", ScaleLabel(job), how,
        static_cast<int>(recordsAcked), static_cast<int>(recordTotal), certainOnly ? " for certain" : "");
    if (unanswered)
        text += " 1 record was sent and not answered.";
    return text;
}

CString TransferTally::StoredText(const TransferRequest& job) const
{
    CString text = stored == 0
        ? CString("no records stored")
        : CString::Formatted("%d record%s stored in %s", stored, stored == 1 ? "" : "s", job.dbPath);
    if (droppedCopies > 0)
        text += CString::Formatted("; %d cop%s the scale sent again %s not stored", droppedCopies,
            droppedCopies == 1 ? "y" : "ies", droppedCopies == 1 ? "was" : "were");
    return text;
}
