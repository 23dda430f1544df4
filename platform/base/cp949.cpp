#include "platform/base/cp949.h"

#include <iconv.h>

#include <cerrno>

namespace {

// One converter per thread and direction; iconv descriptors are not shareable.
class Converter {
public:
    Converter(const char* to, const char* from)
        : m_cd(iconv_open(to, from))
    { }
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one character's bytes; false when it has no form in the target.
    bool ConvertOne(std::string_view in, std::string& out)
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) || srcLeft != 0)
            return false;
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        return true;
    }

private:
    iconv_t m_cd;
};

// Length of the UTF-8 sequence that starts with b, or 0 when b cannot start one.
std::size_t Utf8SequenceLength(unsigned char b)
{
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return 2;
    if (b >= 0xE0 && b <= 0xEF)
        return 3;
    if (b >= 0xF0 && b <= 0xF4)
        return 4;
    return 0;
}

bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

} // namespace

std::string Utf8ToCp949(std::string_view utf8)
{
    thread_local Converter converter("CP949", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        std::size_t length = Utf8SequenceLength(lead);
        bool valid = length > 0 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k)
            valid = IsContinuation(static_cast<unsigned char>(utf8[i + k]));
        if (!valid) {
            out += '?';
            ++i;
            while (i < utf8.size() && IsContinuation(static_cast<unsigned char>(utf8[i])))
                ++i;
            continue;
        }
        if (!converter.ConvertOne(utf8.substr(i, length), out))
            out += '?';
        i += length;
    }
    return out;
}

std::string Cp949ToUtf8(std::string_view cp949)
{
    thread_local Converter converter("UTF-8", "CP949");
    std::string out;
    out.reserve(cp949.size() * 3 / 2);
    std::size_t i = 0;
    while (i < cp949.size()) {
        const auto lead = static_cast<unsigned char>(cp949[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        if (IsCp949LeadByte(lead) && i + 1 < cp949.size() && converter.ConvertOne(cp949.substr(i, 2), out)) {
            i += 2;
            continue;
        }
        out += '?';
        ++i;
    }
    return out;
}

std::size_t Cp949Length(std::string_view utf8)
{
    return Utf8ToCp949(utf8).size();
}

std::string_view Cp949Prefix(std::string_view cp949, std::size_t maxBytes)
{
    std::size_t i = 0;
    while (i < cp949.size()) {
        const std::size_t step
            = IsCp949LeadByte(static_cast<unsigned char>(cp949[i])) && i + 1 < cp949.size() ? 2 : 1;
        if (i + step > maxBytes)
            break;
        i += step;
    }
    return cp949.substr(0, i);
}
