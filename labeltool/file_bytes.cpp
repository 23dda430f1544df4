// Whole-file reads and writes.

#include "labeltool/file_bytes.h"

#include "platform/base/file.h"
#include "platform/base/file_system.h"

std::optional<ByteBuffer> ReadExistingFile(const CString& path, std::size_t maxBytes)
{
    const DWORD attributes = GetFileAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES
        || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0)
        return std::nullopt;
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary))
        return std::nullopt;
    ByteBuffer bytes(maxBytes);
    const UINT read = file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    bytes.resize(read);
    file.Close();
    return bytes;
}

BOOL ReplaceFile(const CString& path, const ByteBuffer& bytes)
{
    return WriteFileAtomically(path, bytes);
}
