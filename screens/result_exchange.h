#pragma once
// CResultExchange: what the sales-total screens start on the transports (the
// transfer glue implements it): a read of the sales totals or their clear,
// into the open item database, over the transport of the chosen mode: the
// loop over the TCP jobs, one scale after the other, or the serial walk to
// each scale's own ID. The glue builds the order and takes its rows when the
// transport may start. Nothing starts before the transports exist. UI thread.

#include "platform/base/types.h"
#include "protocol/data_kinds.h"

class CResultExchange {
public:
    // command Recv of a sales-total kind, or Trans of the clear.
    virtual void StartResultExchange(TransferCommand command, DataKind kind) = 0;
    // TRUE while the loop or a serial walk runs.
    [[nodiscard]] virtual BOOL IsResultLoopRunning() const = 0;

protected:
    ~CResultExchange() = default;
};
