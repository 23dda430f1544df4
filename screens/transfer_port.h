#pragma once
// What the work screen needs of the transports (TCP transfer threads, the
// serial link) and of the scale register. The transfer commands do their
// checks, build the TransferOrder (transfer/transfer_order.h), let the
// transport of its link check it, take the rows it sends and hand it over;
// the scale screens' loads and reply rows go to the scale register
// (CScaleRegisterPort, transfer/scale_register_host.h).

#include "platform/base/types.h"
#include "transfer/scale_register_host.h"
#include "transfer/transfer_order.h"

class CTransferPort {
public:
    // The checks of the transport of order's link (a refusal is told): TRUE
    // when it may start, and its rows may be taken.
    virtual BOOL CheckOrder(const TransferOrder& order) = 0;
    // Starts order, its rows taken: TCP, one job per scale (timer id 200 +
    // index); serial, the session over the scales one after the other.
    virtual void StartOrder(const TransferOrder& order) = 0;
    // Stop pressed (command 1030).
    virtual void StopTransfer() = 0;

protected:
    ~CTransferPort() = default;
};
