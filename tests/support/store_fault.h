#pragma once
// A store database a test makes unwritable in the ways a machine does, undone
// by Undo or the end of the object. Read-only: the mode bits taken away and the
// immutable flag set (tests may run as root, whom mode bits do not stop). A full
// disk: a small tmpfs mounted over a folder and filled to its last byte; where
// this machine allows no mount, Mount says so and the test is skipped.

#include <sys/types.h>

#include <functional>
#include <string>

class ReadOnlyPath {
public:
    ReadOnlyPath() = default;
    ~ReadOnlyPath();
    ReadOnlyPath(const ReadOnlyPath&) = delete;
    ReadOnlyPath& operator=(const ReadOnlyPath&) = delete;

    // A file, or a folder (no file can be made in it: no journal either).
    bool Apply(const std::string& nativePath);
    void Undo();

private:
    std::string m_path;
    unsigned m_mode = 0;
};

class FullDisk {
public:
    FullDisk() = default;
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // Mounts a tmpfs of bytes at folder (made when missing); false when this
    // machine allows no mount.
    bool Mount(const std::string& folder, long bytes = 1 << 20);
    // Takes up every free byte with a filler file; Free removes it.
    bool Fill();
    void Free();

private:
    std::string m_folder;
    bool m_mounted = false;
};

// A save killed in the middle: save runs in a child process whose files may
// grow to limit bytes, and the kernel ends it (SIGXFSZ, no core) inside the
// write that passes it. The child's id once it has ended so; 0 when it ended
// otherwise.
pid_t RunKilledMidWrite(const std::function<void()>& save, long limit);
