#pragma once
// ResendGuard: how often the packet or frame a transfer waits on has been sent
// again. A wait that times out resends while the guard allows it; after the
// limit the wait ends. Each transport names its limit once.

class ResendGuard {
public:
    explicit constexpr ResendGuard(int limit)
        : m_limit(limit)
    { }

    // TRUE while another resend is allowed.
    [[nodiscard]] bool MayResend() const { return m_count < m_limit; }
    // One resend made.
    void Count() { ++m_count; }
    // A fresh packet: the full budget again.
    void Reset() { m_count = 0; }
    [[nodiscard]] int Resends() const { return m_count; }

private:
    int m_limit;
    int m_count = 0;
};

// A TCP packet that gets no answer is sent again up to three times.
inline constexpr int kTcpResendLimit = 3;
