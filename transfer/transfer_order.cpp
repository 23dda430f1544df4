#include "transfer/transfer_order.h"

#include <algorithm>

CString AddressOfScaleLine(const CString& line)
{
    const int at = line.Find("IP=");
    return at < 0 ? CString() : line.Mid(at + 3);
}

CString NameOfScaleLine(const CString& line)
{
    constexpr char kName[] = "Scale name = ";
    const int at = line.Find(kName);
    if (at < 0)
        return CString();
    const int start = at + static_cast<int>(sizeof kName) - 1;
    const int end = line.Find(',', start);
    return end < 0 ? line.Mid(start) : line.Mid(start, end - start);
}

std::array<char, 2> IdOfScaleLine(const CString& line)
{
    const int at = line.Find("ID=");
    const CString id = at < 0 ? CString() : line.Mid(at + 3);
    if (id.GetLength() >= 2)
        return { id[0], id[1] };
    if (id.GetLength() == 1)
        return { '0', id[0] };
    return { '0', '0' };
}

OrderScale ParseScaleLine(const CString& line)
{
    OrderScale scale;
    scale.line = line;
    scale.address = AddressOfScaleLine(line);
    scale.name = NameOfScaleLine(line);
    scale.id = IdOfScaleLine(line);
    return scale;
}

std::vector<OrderScale> ParseScaleLines(const std::vector<CString>& lines)
{
    std::vector<OrderScale> scales;
    scales.reserve(lines.size());
    for (const CString& line : lines)
        scales.push_back(ParseScaleLine(line));
    return scales;
}

TransferRowsPtr TakeOrderRows(CTransferScreenHost& host, const TransferOrder& order, int gridColumns)
{
    // A TCP record reads cells up to the kind's last column, a serial one the
    // grid's: past the grid's last column a cell reads empty, as a record
    // reads a cell its row does not have.
    return TakeTransferRows(
        host, order.command, order.kind, order.scope, std::max(gridColumns, RecordColumns(order.kind)));
}
