#pragma once
// A compound file's header with nothing after it, for the readers' refusals.

#include <cstddef>
#include <string>

// A compound file of only its 512-byte header.
inline std::string CompoundHeaderOnly()
{
    std::string header(512, '\0');
    const unsigned char start[] = { 0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1 };
    header.replace(0, 8, reinterpret_cast<const char*>(start), 8);
    header[0x18] = 0x3E;
    header[0x1A] = 0x03;
    header[0x1C] = static_cast<char>(0xFE);
    header[0x1D] = static_cast<char>(0xFF);
    header[0x1E] = 0x09;
    header[0x20] = 0x06;
    header[0x2C] = 0x01; // one FAT sector, which the file does not have
    for (std::size_t i = 0x4C; i < 512; ++i)
        header[i] = static_cast<char>(0xFF);
    return header;
}
