#pragma once
// CCommSettings: the communication settings that the work screen and the
// communication dialog (141) share: the transport (entry 0 "Ethernet", entry 1
// "Serial", none chosen), the COM port entry (0-7 for COM 1-8, -1 none),
// the registered scales of the mode (list 1019) and the chosen scales (list
// 1020), one list line each ("Scale name = %s, IP=%s" or "Scale name = %s,
// Scale ID=%s"). A change made through the methods tells the listener (the
// dialog, which shows the lists). Here, below both transports, so that either
// reaches it. UI thread.

#include <functional>
#include <optional>
#include <vector>

#include "platform/base/cstring.h"

// The transport the transfers use, in the order of the mode box's entries.
enum class Transport { Ethernet = 0, Serial = 1 };

// The transport of a mode box entry (none for another index), and back (-1 for none).
[[nodiscard]] std::optional<Transport> TransportOfEntry(int index);
[[nodiscard]] int EntryOfTransport(std::optional<Transport> mode);

class CCommSettings {
public:
    // The selected mode's text ("Ethernet", "Serial"), "" when none.
    CString ModeText() const;
    BOOL IsSerial() const { return m_mode == Transport::Serial; }
    // Selects a mode, or a port entry (an index out of range clears the port).
    void SelectMode(std::optional<Transport> mode);
    void SelectPort(int index);
    std::optional<Transport> GetMode() const { return m_mode; }
    int GetPort() const { return m_nPort; }

    // The registered scales: an entry inserted at index (at the end when
    // beyond), all removed.
    void InsertRegistered(int index, const CString& line);
    void ClearRegistered();
    // The chosen scales: appended (nothing when the line is chosen already),
    // removed by index (nothing for a bad one), all removed, or set whole.
    void AddChosen(const CString& line);
    void RemoveChosen(int index);
    void ClearChosen();
    void SetChosen(std::vector<CString> lines);

    // Mode, port and chosen scales together, as the settings file keeps them.
    struct Choice {
        std::optional<Transport> mode;
        int port = -1;
        std::vector<CString> chosen;
    };
    Choice GetChoice() const { return { m_mode, m_nPort, m_scales }; }
    // Puts choice back; a different mode also empties the registered scales.
    void SetChoice(const Choice& choice);

    // Called after every change made through the methods above.
    void SetListener(std::function<void()> listener) { m_listener = std::move(listener); }

    const std::vector<CString>& GetRegistered() const { return m_registered; }
    // The chosen scales, in order; the transfers read them.
    const std::vector<CString>& GetChosen() const { return m_scales; }

private:
    void Changed();

    std::vector<CString> m_registered;
    std::vector<CString> m_scales;
    std::optional<Transport> m_mode;
    int m_nPort = -1;
    std::function<void()> m_listener;
};
