#pragma once
// Little- and big-endian byte codecs for the byte-exact formats (scale packets,
// records, link frames, label files). Writers append; the reader is a
// bounds-checked cursor whose Get calls return false on truncation and leave
// the cursor where it was.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using ByteBuffer = std::vector<std::uint8_t>;

inline void PutU8(ByteBuffer& out, std::uint8_t v)
{
    out.push_back(v);
}
inline void PutU16LE(ByteBuffer& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void PutU32LE(ByteBuffer& out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}
inline void PutU16BE(ByteBuffer& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}
inline void PutU32BE(ByteBuffer& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}
inline void PutBytes(ByteBuffer& out, std::span<const std::uint8_t> bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}
// Appends exactly width bytes: the text cut to width, then NUL padding.
inline void PutFixedText(ByteBuffer& out, std::string_view bytes, std::size_t width)
{
    const std::size_t n = bytes.size() < width ? bytes.size() : width;
    out.insert(out.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    out.insert(out.end(), width - n, 0);
}

// Stores at a fixed offset of an already sized buffer; false when it does not fit.
inline bool StoreU16LE(std::span<std::uint8_t> out, std::size_t offset, std::uint16_t v)
{
    if (offset > out.size() || out.size() - offset < 2)
        return false;
    out[offset] = static_cast<std::uint8_t>(v);
    out[offset + 1] = static_cast<std::uint8_t>(v >> 8);
    return true;
}
inline bool StoreU32LE(std::span<std::uint8_t> out, std::size_t offset, std::uint32_t v)
{
    if (offset > out.size() || out.size() - offset < 4)
        return false;
    for (std::size_t i = 0; i < 4; ++i)
        out[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
    return true;
}

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data)
        : m_data(data)
    { }

    std::size_t Position() const { return m_pos; }
    std::size_t Remaining() const { return m_data.size() - m_pos; }
    bool AtEnd() const { return m_pos == m_data.size(); }

    bool GetU8(std::uint8_t& v)
    {
        if (Remaining() < 1)
            return false;
        v = m_data[m_pos++];
        return true;
    }
    bool GetU16LE(std::uint16_t& v)
    {
        if (Remaining() < 2)
            return false;
        v = static_cast<std::uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }
    bool GetU32LE(std::uint32_t& v)
    {
        if (Remaining() < 4)
            return false;
        v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(m_data[m_pos + i]) << (8 * i);
        m_pos += 4;
        return true;
    }
    bool GetU16BE(std::uint16_t& v)
    {
        if (Remaining() < 2)
            return false;
        v = static_cast<std::uint16_t>((m_data[m_pos] << 8) | m_data[m_pos + 1]);
        m_pos += 2;
        return true;
    }
    bool GetU32BE(std::uint32_t& v)
    {
        if (Remaining() < 4)
            return false;
        v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = (v << 8) | m_data[m_pos + i];
        m_pos += 4;
        return true;
    }
    bool GetBytes(std::size_t count, std::span<const std::uint8_t>& out)
    {
        if (Remaining() < count)
            return false;
        out = m_data.subspan(m_pos, count);
        m_pos += count;
        return true;
    }
    // Reads a fixed-width text field; the result stops at the first NUL.
    bool GetFixedText(std::size_t width, std::string& out)
    {
        std::span<const std::uint8_t> field;
        if (!GetBytes(width, field))
            return false;
        std::size_t n = 0;
        while (n < field.size() && field[n] != 0)
            ++n;
        out.assign(reinterpret_cast<const char*>(field.data()), n);
        return true;
    }
    bool Skip(std::size_t count)
    {
        if (Remaining() < count)
            return false;
        m_pos += count;
        return true;
    }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
};
