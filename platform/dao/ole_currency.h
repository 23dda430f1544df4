#pragma once
// OLE currency: a 64-bit integer scaled by 10,000 (four decimal places).

#include "platform/base/cstring.h"
#include "platform/base/types.h"

struct CY {
    LONGLONG int64;
};

class COleCurrency {
public:
    COleCurrency() = default;
    explicit COleCurrency(CY value)
        : m_cur(value)
    { }
    // units and fractional ten-thousandths, as the class library's constructor.
    COleCurrency(long units, long fractionalUnits)
    {
        m_cur.int64 = static_cast<LONGLONG>(units) * 10000 + fractionalUnits;
    }

    // The value as the user's default locale writes a number: an optional minus
    // sign, the units, and the fraction without trailing zeros ("12.5", "-3", "0.0001").
    // No grouping separators. flags and locale are accepted and ignored.
    CString Format(DWORD flags = 0, DWORD locale = 0) const;

    CY m_cur {};
};
