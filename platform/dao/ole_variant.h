#pragma once
// COleVariant: a field value with its OLE type code. Database fields arrive as
// VT_NULL, VT_I4, VT_R8, VT_BSTR or VT_ARRAY|VT_UI1; the other codes exist so that
// callers and tests can build any value the type codes allow.

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/dao/ole_currency.h"
#include "platform/dao/ole_date_time.h"

using VARTYPE = unsigned short;
using VARIANT_BOOL = short;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// Type codes: the numbers are those of OLE automation.
enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_DECIMAL = 14,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_VOID = 24,
    VT_HRESULT = 25,
    VT_PTR = 26,
    VT_SAFEARRAY = 27,
    VT_CARRAY = 28,
    VT_USERDEFINED = 29,
    VT_LPSTR = 30,
    VT_LPWSTR = 31,
    VT_FILETIME = 64,
    VT_BLOB = 65,
    VT_STREAM = 66,
    VT_STORAGE = 67,
    VT_STREAMED_OBJECT = 68,
    VT_STORED_OBJECT = 69,
    VT_BLOB_OBJECT = 70,
    VT_CF = 71,
    VT_CLSID = 72,
    VT_VECTOR = 0x1000,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
};

class COleVariant {
public:
    COleVariant() { lVal = 0; }
    // VT_BSTR.
    COleVariant(const char* text)
        : vt(VT_BSTR)
        , bstrVal(text)
    {
        lVal = 0;
    }
    COleVariant(const CString& text)
        : vt(VT_BSTR)
        , bstrVal(text)
    {
        lVal = 0;
    }
    // VT_I4 (vtSrc VT_I4, VT_ERROR or VT_BOOL).
    COleVariant(LONG value, VARTYPE vtSrc = VT_I4);
    // VT_I2 (vtSrc VT_I2 or VT_BOOL).
    COleVariant(SHORT value, VARTYPE vtSrc = VT_I2);
    COleVariant(BYTE value)
        : vt(VT_UI1)
    {
        lVal = 0;
        bVal = value;
    }
    COleVariant(float value)
        : vt(VT_R4)
    {
        fltVal = value;
    }
    // VT_R8 (vtSrc VT_R8 or VT_DATE).
    COleVariant(double value, VARTYPE vtSrc = VT_R8);
    COleVariant(const COleCurrency& value)
        : vt(VT_CY)
    {
        cyVal = value.m_cur;
    }
    COleVariant(const COleDateTime& value)
        : vt(VT_DATE)
    {
        date = value.m_dt;
    }
    // VT_ARRAY | VT_UI1: a long-binary value.
    explicit COleVariant(std::vector<BYTE> bytes)
        : vt(VT_ARRAY | VT_UI1)
        , m_bytes(std::move(bytes))
    {
        lVal = 0;
    }

    // A variant of the given type code with no payload (VT_NULL, or a code a test
    // wants to show). The scalar payload is zero.
    static COleVariant OfType(VARTYPE type)
    {
        COleVariant v;
        v.vt = type;
        return v;
    }

    // Back to VT_EMPTY.
    void Clear();

    VARTYPE vt = VT_EMPTY;
    union {
        LONG lVal;
        SHORT iVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        BYTE bVal;
        CY cyVal;
        DATE date;
    };
    CString bstrVal; // text of VT_BSTR
    std::vector<BYTE> m_bytes; // elements of VT_ARRAY | VT_UI1
};
