#include "screens/pos_codes.h"

#include <cstdlib>

#include "platform/base/cp949.h"

BOOL PosCodeAccepted(const CString& posKind, const CString& code)
{
    const std::size_t length = Cp949Length(code.View());
    const long long value = std::strtoll(code.GetString(), nullptr, 10);
    if (posKind == "1")
        return length <= 7 && value <= 10000000LL;
    if (posKind == "2")
        return length <= 10;
    if (posKind == "3")
        return length <= 8 && value <= 100000000LL;
    return length <= 6 && value <= 1000000LL;
}

PosCodeMessage PosCodeMessageFor(const CString& posKind)
{
    if (posKind == "1")
        return { "Pos code is a 1 - 9999999.", "포스코드는 1 - 9999999번이내로 하여야 함" };
    if (posKind == "2")
        return { "Pos code is a 1 - 9999999999.", "포스코드는 1 - 9999999999번이내로 하여야 함" };
    if (posKind == "3")
        return { "Pos code is a 1 - 99999999.", "Pos code is a 1 - 99999999." };
    return { "Pos code is a 1 - 999999.", "포스코드는 1 - 999999번이내로 하여야 함" };
}
