#pragma once
// CRegisteredAddresses: the addresses of the scale register ([ScaleMG] of
// Manager.mdb) as the results server's door sees them. Any thread may ask;
// the register is read again, on the asking thread, once the addresses read
// last are older than the refresh period. A register that cannot be read
// (another program holds it) keeps the addresses read last and is tried again
// only after ten periods, so that a lock does not hold the door at each try;
// until it has been read once, every address counts as registered, so that a
// register that cannot be read turns no scale away.

#include <chrono>
#include <mutex>
#include <set>
#include <string>

#include "platform/base/cstring.h"

inline constexpr auto kRegisterRefresh = std::chrono::milliseconds(1000);

class CRegisteredAddresses {
public:
    explicit CRegisteredAddresses(CString managerPath, std::chrono::milliseconds refresh = kRegisterRefresh)
        : m_strPath(std::move(managerPath))
        , m_refresh(refresh)
    { }

    [[nodiscard]] bool Contains(const CString& ip);

private:
    // Reads the register when due, one thread at a time; the others go on
    // with the addresses read last.
    void RefreshIfDue();

    const CString m_strPath;
    const std::chrono::milliseconds m_refresh;
    std::mutex m_lock;
    std::set<std::string> m_addresses;
    bool m_bRead = false; // the register was read once
    bool m_bReading = false;
    std::chrono::steady_clock::time_point m_due; // of the next read
};
