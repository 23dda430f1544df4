#include "tests/fuzz/fuzz_targets.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "labeltool/cassette.h"
#include "labeltool/label_file.h"
#include "platform/sheet/biff8_reader.h"
#include "platform/sheet/xls_reader.h"

namespace {

// Hands the bytes to read as a file that lives in memory only.
void AsFile(std::span<const std::uint8_t> bytes, const std::function<void(const CString& path)>& read)
{
    const int fd = ::memfd_create("fuzz", MFD_CLOEXEC);
    if (fd < 0)
        return;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    if (done == bytes.size())
        read(CString(("/proc/self/fd/" + std::to_string(fd)).c_str()));
    ::close(fd);
}

} // namespace

void FuzzCheck(bool promise)
{
    if (!promise)
        std::abort();
}

void FuzzFileInput(std::span<const std::uint8_t> input)
{
    if (input.empty())
        return;
    const std::span<const std::uint8_t> file = input.subspan(1);
    switch (input[0] % kFuzzReaders) {
    case 0: {
        WorkbookData book;
        (void)ReadBiff8Stream(ByteBuffer(file.begin(), file.end()), book);
        break;
    }
    case 1:
        AsFile(file, [](const CString& path) {
            WorkbookData book;
            (void)ReadWorkbookFile(path, book);
        });
        break;
    case 2: {
        LabelValues values {};
        if (DecodeLabelFile(file, values) == LabelFileError::None) {
            LabelValues again {};
            FuzzCheck(
                DecodeLabelFile(EncodeLabelFile(values), again) == LabelFileError::None && again == values);
        }
        break;
    }
    case 3: {
        CassetteGeometry cassette;
        if (DecodeCassetteFile(file, cassette) == CassetteFileError::None) {
            CassetteGeometry again;
            FuzzCheck(DecodeCassetteFile(EncodeCassetteFile(cassette), again) == CassetteFileError::None
                && again == cassette);
        }
        break;
    }
    default: {
        WorkbookData book;
        (void)ReadBiff5Stream(ByteBuffer(file.begin(), file.end()), book);
        break;
    }
    }
}
