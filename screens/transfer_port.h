#pragma once
// What the work screen needs of the transports (TCP transfer threads, the
// serial link) and of the scale register. The transfer commands do their
// checks, then hand a TransferOrder to the transport of the chosen mode; the
// scale screens' loads and reply rows go to the scale register
// (CScaleRegisterPort, transfer/scale_register_host.h).

#include <vector>

#include "platform/base/cstring.h"
#include "protocol/data_kinds.h"
#include "transfer/scale_register_host.h"

struct TransferOrder {
    TransferCommand command = TransferCommand::Trans;
    DataKind dataKind = DataKind::Item;
    TransferScope scope = TransferScope::All;
    int languageIndex = 2;
    std::vector<CString> scales; // the chosen scales' list lines
    int comPort = 0; // serial: 1-8
    std::vector<int> receiveNumbers; // selective receive: the numbers asked for
};

class CTransferPort {
public:
    // One TCP job per scale line (timer id 200 + index).
    virtual void StartEthernetTransfer(const TransferOrder& order) = 0;
    // The serial session over the scales one after the other.
    virtual void StartSerialTransfer(const TransferOrder& order) = 0;
    // Stop pressed (command 1030).
    virtual void StopTransfer() = 0;

protected:
    ~CTransferPort() = default;
};
