#include "platform/dao/ole_currency.h"

#include <cstdint>

CString COleCurrency::Format(DWORD, DWORD) const
{
    const bool negative = m_cur.int64 < 0;
    // Work on the magnitude as unsigned so the smallest value does not overflow.
    const std::uint64_t magnitude
        = negative ? ~static_cast<std::uint64_t>(m_cur.int64) + 1 : static_cast<std::uint64_t>(m_cur.int64);
    CString text = negative ? "-" : "";
    text.AppendFormat("%llu", static_cast<unsigned long long>(magnitude / 10000));
    unsigned fraction = static_cast<unsigned>(magnitude % 10000);
    if (fraction != 0) {
        CString digits;
        digits.Format("%04u", fraction);
        digits.TrimRight('0');
        text += '.';
        text += digits;
    }
    return text;
}
