#include "platform/wnd/core/runtime_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool AfxMakePrivateFolder(const std::string& folder)
{
    ::mkdir(folder.c_str(), 0700);
    struct stat named { };
    if (::lstat(folder.c_str(), &named) != 0 || !S_ISDIR(named.st_mode) || named.st_uid != ::getuid())
        return false;
    // Opened without following a link planted since, and checked to be the
    // folder just looked at before it is closed to others.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat opened { };
    const bool same = ::fstat(fd, &opened) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino && opened.st_uid == ::getuid() && ::fchmod(fd, 0700) == 0;
    ::close(fd);
    return same;
}
