#include "tests/support/store_fault.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <vector>

namespace {

constexpr const char* kFillerName = "/.filler";

// Sets or clears the immutable flag; false where the file system or the user
// does not allow it.
bool SetImmutable(const std::string& path, bool on)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

} // namespace

ReadOnlyPath::~ReadOnlyPath()
{
    Undo();
}

bool ReadOnlyPath::Apply(const std::string& nativePath)
{
    Undo();
    struct stat st { };
    if (::stat(nativePath.c_str(), &st) != 0)
        return false;
    m_path = nativePath;
    m_mode = st.st_mode & 07777;
    ::chmod(nativePath.c_str(), m_mode & ~static_cast<unsigned>(S_IWUSR | S_IWGRP | S_IWOTH));
    // Without the flag only a user who is not root is stopped.
    return SetImmutable(nativePath, true) || ::geteuid() != 0;
}

void ReadOnlyPath::Undo()
{
    if (m_path.empty())
        return;
    SetImmutable(m_path, false);
    ::chmod(m_path.c_str(), m_mode);
    m_path.clear();
}

FullDisk::~FullDisk()
{
    if (m_mounted)
        ::umount2(m_folder.c_str(), MNT_DETACH);
}

bool FullDisk::Mount(const std::string& folder, long bytes)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string options = "size=" + std::to_string(bytes);
    m_mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    m_folder = folder;
    return m_mounted;
}

bool FullDisk::Fill()
{
    const std::string path = m_folder + kFillerName;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0)
        return false;
    const std::vector<char> block(4096, 'x');
    // Whole blocks, then single bytes: the last byte taken.
    for (std::size_t size = block.size(); size > 0; size /= 2) {
        while (::write(fd, block.data(), size) == static_cast<ssize_t>(size)) { }
    }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
}

void FullDisk::Free()
{
    ::unlink((m_folder + kFillerName).c_str());
}

pid_t RunKilledMidWrite(const std::function<void()>& save, long limit)
{
    const pid_t child = ::fork();
    if (child < 0)
        return 0;
    if (child == 0) {
        const rlimit none { 0, 0 }, size { static_cast<rlim_t>(limit), static_cast<rlim_t>(limit) };
        ::setrlimit(RLIMIT_CORE, &none);
        ::setrlimit(RLIMIT_FSIZE, &size);
        save();
        ::_exit(0);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFSIGNALED(status) || WTERMSIG(status) != SIGXFSZ)
        return 0;
    return child;
}
