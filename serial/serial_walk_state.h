#pragma once
// CSerialWalkState: what the serial engine and the scale link read of the walk
// over the chosen scales (CSerialTransfer, which owns them both): the COM port,
// the broadcast's scales, the scale being served and the stop. UI thread.

#include <array>

#include "platform/base/cstring.h"

// A scale's two ID characters.
using ScaleId = std::array<char, 2>;

class CSerialWalkState {
public:
    // The COM port (1-8) the engine opens.
    [[nodiscard]] virtual int GetComPort() const = 0;
    // Nonzero while a send goes out once to all the chosen scales.
    [[nodiscard]] virtual int GetBroadcastFlag() const = 0;
    [[nodiscard]] virtual ScaleId GetCurrentScaleId() const = 0;
    // The broadcast's scales, 1 to count.
    [[nodiscard]] virtual int GetBroadcastCount() const = 0;
    [[nodiscard]] virtual ScaleId GetBroadcastScaleId(int index) const = 0;
    // The scales the walk serves one after the other.
    [[nodiscard]] virtual int GetScaleCount() const = 0;
    // Nonzero once the user has stopped the walk.
    [[nodiscard]] virtual int GetSerialStop() const = 0;
    // The scale being served as the messages name it: its name and ID.
    [[nodiscard]] virtual CString GetCurrentScaleLabel() const = 0;
    // The broadcast's scale index (1 to count) as the messages name it.
    [[nodiscard]] virtual CString GetBroadcastScaleLabel(int index) const = 0;

protected:
    ~CSerialWalkState() = default;
};
