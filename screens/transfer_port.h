#pragma once
// What the work screen needs of the transports (TCP transfer threads, the
// serial link) and of the scale register. The transfer commands do their
// checks, then hand a TransferOrder to the transport of the chosen mode; the
// scale screens' loads and reply rows go to the scale register.

#include <vector>

#include "platform/base/cstring.h"

struct TransferOrder {
    CString command; // "TRANS" or "RECV"
    CString dataKind; // the screen's kind word
    CString scope; // "all" or "select"
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

class CScaleRegisterPort {
public:
    // Loads started by the screen switch and the settings reader; the request
    // name and the manager id are in the work screen's mailbox.
    virtual void SelectScaleInfo() = 0;
    virtual void SelectScaleRootInfo() = 0;
    virtual void SelectScales(const CString& columns) = 0;
    virtual void SelectScaleAddress(const CString& databasePath, const CString& columns, int mode) = 0;
    // Reply rows of those loads; each answers "Report" itself.
    virtual void SplitRows(const CString& row) = 0;
    virtual void FillScaleInfoGrid(const CString& row) = 0;
    virtual void FillScaleRootInfoGrid(const CString& row) = 0;
    virtual void FillScaleList(const CString& row) = 0;

protected:
    ~CScaleRegisterPort() = default;
};
