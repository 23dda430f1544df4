#pragma once
// CSerialTransfer: the work screen's transfers over RS-232. It owns the serial
// transfer engine and the scale link, and walks the chosen scales: a send to
// one scale and every read serve the scales one after the other (OPEN ... CLOSE
// each); a send to two or more scales goes out once as a broadcast. The work
// screen hands it the start (after its own checks, with the rows the order
// sends), the stop command, the messages 1224-1227 and timer 150.
//
// The walk ends at a CLOSE after the last scale, at the CLOSE after a stop, or at
// the CLOSE of a broadcast; every end clears the transfer-active flag and gives
// the transfer buttons back. UI thread only.

#include <array>
#include <memory>
#include <vector>

#include "platform/base/cstring.h"
#include "protocol/data_kinds.h"
#include "serial/serial_host.h"
#include "serial/serial_walk_state.h"
#include "transfer/transfer_order.h"

class CSerialTransEngine;
class CScaleLink;

class CSerialTransfer : public CSerialWalkState {
public:
    explicit CSerialTransfer(CSerialHost* host, int language = 2);
    virtual ~CSerialTransfer();
    CSerialTransfer(const CSerialTransfer&) = delete;
    CSerialTransfer& operator=(const CSerialTransfer&) = delete;

    CSerialTransEngine& GetEngine() { return *m_engine; }
    CScaleLink& GetLink() { return *m_link; }

    // The serial branch of the send and receive commands: a start while a walk
    // runs, "Select a port.", "Communication Setting error" and more than 100
    // scales of a broadcast are refused with a message; otherwise the walk
    // starts with the order's rows.
    void Start(const TransferOrder& order);
    // The checks of Start alone (with their message); TRUE when it may start,
    // and the rows may be taken.
    BOOL CheckStart(const TransferOrder& order) const;
    // Stop pressed: the current session ends at its next report, the walk at
    // its CLOSE.
    void Stop() { m_nSerialStop = 1; }

    void SerialNextScale(int line);
    void StartSerialBroadcast(int count);

    LRESULT OnSerialPortOpened();
    LRESULT OnSerialPortOpenFailed();
    // 1226 and 1227 alike.
    LRESULT OnSerialSessionEnd();
    void OnSerialReplyTimeout();

    // CSerialWalkState: what the engine and the link read.
    int GetComPort() const override { return m_nComPort; }
    int GetBroadcastFlag() const override { return m_nBroadcast; }
    ScaleId GetCurrentScaleId() const override { return m_currentId; }
    int GetBroadcastCount() const override { return m_nBroadcastCount; }
    ScaleId GetBroadcastScaleId(int index) const override;
    int GetSerialStop() const override { return m_nSerialStop; }
    int GetScaleCount() const override { return m_nSerialScaleCount; }
    CString GetCurrentScaleLabel() const override;
    CString GetBroadcastScaleLabel(int index) const override;
    BOOL IsRunning() const { return m_bRunning; }

private:
    void EndWalk();
    CString ScaleLabel(int at, ScaleId id) const;
    // Tells the screen of the walk's start and end, once each.
    void SetActive(BOOL active);

    CSerialHost* m_pHost = nullptr;
    std::unique_ptr<CSerialTransEngine> m_engine;
    std::unique_ptr<CScaleLink> m_link;

    std::vector<OrderScale> m_scales;
    CString m_strTargetDatabase;
    int m_nComPort = 0;
    int m_nSerialScaleIndex = 0;
    int m_nSerialScaleCount = 0;
    int m_nBroadcast = 0;
    int m_nBroadcastCount = 0;
    std::array<std::array<char, 2>, kMaxBroadcastScales + 1> m_broadcastIds {};
    std::array<char, 2> m_currentId { '0', '0' };
    int m_nSerialStop = 0;
    BOOL m_bRunning = FALSE;
    BOOL m_bActive = FALSE;
};
