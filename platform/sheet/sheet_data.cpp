#include "platform/sheet/sheet_data.h"

#include <cmath>

#include "platform/base/path.h"
#include "platform/dao/ole_currency.h"
#include "platform/dao/ole_date_time.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code points of a UTF-8 text; each byte of an invalid sequence gives U+FFFD.
std::vector<char32_t> DecodeUtf8(const CString& utf8)
{
    std::vector<char32_t> out;
    const std::string& s = utf8.Str();
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        int length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
            minimum = 0x10000;
        }
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= s.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (next & 0x3F);
        }
        if (valid && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (!valid) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsWide(char32_t cp)
{
    struct Span {
        char32_t first, last;
    };
    static const Span kWide[] = {
        { 0x1100, 0x115F }, // Hangul Jamo initial consonants
        { 0x2E80, 0x303E }, // CJK radicals, punctuation
        { 0x3041, 0x33FF }, // kana, Hangul compatibility Jamo, CJK symbols
        { 0x3400, 0x4DBF }, // CJK extension A
        { 0x4E00, 0x9FFF }, // CJK ideographs
        { 0xA000, 0xA4CF }, // Yi
        { 0xA960, 0xA97F }, // Hangul Jamo extended A
        { 0xAC00, 0xD7A3 }, // Hangul syllables
        { 0xF900, 0xFAFF }, // CJK compatibility ideographs
        { 0xFE30, 0xFE4F }, // CJK compatibility forms
        { 0xFF00, 0xFF60 }, // full-width forms
        { 0xFFE0, 0xFFE6 },
        { 0x20000, 0x3FFFD },
    };
    for (const Span& span : kWide)
        if (cp >= span.first && cp <= span.last)
            return true;
    return false;
}

CString ErrorName(LONG code)
{
    switch (code) {
    case kCellErrorNull:
        return "#NULL!";
    case kCellErrorDiv0:
        return "#DIV/0!";
    case kCellErrorValue:
        return "#VALUE!";
    case kCellErrorRef:
        return "#REF!";
    case kCellErrorName:
        return "#NAME?";
    case kCellErrorNum:
        return "#NUM!";
    default:
        return "#N/A";
    }
}

CString DateText(DATE value)
{
    if (!IsValidOleDate(value))
        return CString::Formatted("%.15g", value);
    const COleDateTime date(value);
    const bool hasDate = std::trunc(value) != 0.0;
    const bool hasTime = value != std::trunc(value);
    CString text;
    if (hasDate)
        text.Format("%04d-%02d-%02d", date.GetYear(), date.GetMonth(), date.GetDay());
    if (hasTime || !hasDate) {
        if (hasDate)
            text += ' ';
        text.AppendFormat("%02d:%02d:%02d", date.GetHour(), date.GetMinute(), date.GetSecond());
    }
    return text;
}

} // namespace

BOOL NormalizeCellValue(COleVariant& value)
{
    COleVariant out;
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
        break;
    case VT_I1:
    case VT_UI1:
        out = COleVariant(static_cast<double>(
            value.vt == VT_I1 ? static_cast<signed char>(value.bVal) : static_cast<int>(value.bVal)));
        break;
    case VT_I2:
        out = COleVariant(static_cast<double>(value.iVal));
        break;
    case VT_UI2:
        out = COleVariant(static_cast<double>(static_cast<USHORT>(value.iVal)));
        break;
    case VT_I4:
    case VT_INT:
        out = COleVariant(static_cast<double>(value.lVal));
        break;
    case VT_UI4:
    case VT_UINT:
        out = COleVariant(static_cast<double>(static_cast<ULONG>(value.lVal)));
        break;
    case VT_R4:
        out = COleVariant(static_cast<double>(value.fltVal));
        break;
    case VT_R8:
        out = COleVariant(value.dblVal);
        break;
    case VT_BSTR: {
        if (value.bstrVal.IsEmpty())
            break;
        std::vector<std::uint16_t> units = Utf8ToUtf16(value.bstrVal);
        if (units.size() > static_cast<std::size_t>(kCellTextMax)) {
            units.resize(kCellTextMax);
            if (units.back() >= 0xD800 && units.back() <= 0xDBFF)
                units.pop_back(); // never keep half a pair
            out = COleVariant(Utf16ToUtf8(units));
        } else {
            out = value;
        }
        break;
    }
    case VT_BOOL:
        out = COleVariant(static_cast<SHORT>(value.boolVal ? 1 : 0), VT_BOOL);
        break;
    case VT_ERROR:
        out = COleVariant(value.lVal, VT_ERROR);
        break;
    case VT_DATE:
        // A date beyond the years 100-9999 stays the number it is.
        out = IsValidOleDate(value.date) ? COleVariant(value.date, VT_DATE) : COleVariant(value.date);
        break;
    case VT_CY:
        out = value;
        break;
    default:
        return FALSE;
    }
    if (out.vt == VT_R8 && !std::isfinite(out.dblVal))
        out = COleVariant(kCellErrorNum, VT_ERROR);
    value = out;
    return TRUE;
}

CString CellDisplayText(const COleVariant& value)
{
    CString text;
    switch (value.vt) {
    case VT_R8:
        text.Format("%.15g", value.dblVal);
        break;
    case VT_BSTR:
        text = value.bstrVal;
        break;
    case VT_BOOL:
        text = value.boolVal ? "TRUE" : "FALSE";
        break;
    case VT_ERROR:
        text = ErrorName(value.lVal);
        break;
    case VT_DATE:
        text = DateText(value.date);
        break;
    case VT_CY:
        text = COleCurrency(value.cyVal).Format();
        break;
    default:
        break;
    }
    return text;
}

long TextDisplayWidth(const CString& utf8)
{
    long width = 0;
    for (char32_t cp : DecodeUtf8(utf8))
        width += IsWide(cp) ? 2 : 1;
    return width;
}

std::vector<std::uint16_t> Utf8ToUtf16(const CString& utf8)
{
    std::vector<std::uint16_t> units;
    for (char32_t cp : DecodeUtf8(utf8)) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(static_cast<std::uint16_t>(0xD800 | (cp >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 | (cp & 0x3FF)));
        } else {
            units.push_back(static_cast<std::uint16_t>(cp));
        }
    }
    return units;
}

CString Utf16ToUtf8(const std::vector<std::uint16_t>& units)
{
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t cp = units[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00
            && units[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return CString(std::move(out));
}

std::string SheetFilePath(const CString& path, CString* error)
{
    std::string native = MapWindowsPath(path.View());
    if (native.empty())
        SheetFailure(error, "The path cannot be used: " + path);
    return native;
}

BOOL SheetFailure(CString* error, const CString& text)
{
    if (error)
        *error = text;
    return FALSE;
}
