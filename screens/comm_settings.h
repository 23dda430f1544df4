#pragma once
// CCommSettings: the work screen's communication settings, as the
// communication dialog shows them: the mode (entry 0 "Ethernet", entry 1
// "Serial", -1 none chosen), the COM port entry (0-7 for COM 1-8, -1 none) and
// the chosen scales, one list line each ("Scale name = %s, IP=%s" or "Scale
// name = %s, Scale ID=%s"). UI thread.

#include <vector>

#include "platform/base/cstring.h"

class CCommSettings {
public:
    static constexpr int kEthernet = 0;
    static constexpr int kSerial = 1;

    // The selected mode's text ("Ethernet", "Serial"), "" when none.
    CString ModeText() const;
    BOOL IsSerial() const { return ModeText() == "Serial"; }
    // Selects a mode or port entry; an index out of range clears the choice.
    void SelectMode(int index) { m_nMode = index == kEthernet || index == kSerial ? index : -1; }
    void SelectPort(int index) { m_nPort = index >= 0 && index < 8 ? index : -1; }
    int GetMode() const { return m_nMode; }
    int GetPort() const { return m_nPort; }

    std::vector<CString> m_scales;

private:
    int m_nMode = -1;
    int m_nPort = -1;
};
