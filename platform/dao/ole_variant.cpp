#include "platform/dao/ole_variant.h"

COleVariant::COleVariant(LONG value, VARTYPE vtSrc)
    : vt(vtSrc)
{
    if (vtSrc == VT_BOOL)
        boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    else
        lVal = value;
}

COleVariant::COleVariant(SHORT value, VARTYPE vtSrc)
    : vt(vtSrc)
{
    lVal = 0;
    if (vtSrc == VT_BOOL)
        boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    else
        iVal = value;
}

COleVariant::COleVariant(double value, VARTYPE vtSrc)
    : vt(vtSrc == VT_DATE ? VT_DATE : VT_R8)
{
    dblVal = value;
}

void COleVariant::Clear()
{
    vt = VT_EMPTY;
    cyVal = CY {};
    bstrVal.Empty();
    m_bytes.clear();
}
