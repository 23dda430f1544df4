#pragma once
// CResultExchange: what the sales-total screens start on the transports (the
// transfer glue implements it): the loop over the TCP jobs, one scale after
// the other, or the serial walk with an order of its own (whose rows the glue
// takes when the walk may start). Nothing starts before the transports exist.
// UI thread.

#include "platform/base/types.h"

struct ResultLoopOrder;
struct SerialOrder;

class CResultExchange {
public:
    virtual void StartResultLoop(const ResultLoopOrder& order) = 0;
    virtual void StartSerialOrder(const SerialOrder& order) = 0;
    // TRUE while the loop or a serial walk runs.
    [[nodiscard]] virtual BOOL IsResultLoopRunning() const = 0;

protected:
    ~CResultExchange() = default;
};
