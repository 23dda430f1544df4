#pragma once
// Another process holding a store database: the SQLCipher shell, keyed with
// the store password, inside BEGIN EXCLUSIVE (no other connection reads or
// writes the file), BEGIN IMMEDIATE (others read, none writes) or a read
// (others read; a writer cannot commit) until Release or the end of the object.

#include <string>

class DbLockHolder {
public:
    enum class Kind { Exclusive, Write, Read };

    DbLockHolder() = default;
    ~DbLockHolder();
    DbLockHolder(const DbLockHolder&) = delete;
    DbLockHolder& operator=(const DbLockHolder&) = delete;

    // Starts the shell on the native path and waits (up to timeoutMs) until
    // it holds the lock; statement (a row written, say) runs inside it.
    bool Hold(const std::string& nativePath, Kind kind = Kind::Exclusive, int timeoutMs = 5000,
        const std::string& statement = {});
    // Ends the transaction and the shell.
    void Release();
    // Commits the transaction, then ends the shell.
    void Commit();
    // Kills the shell inside its transaction (SIGKILL): the file and its
    // journal stay as a writer killed mid-write leaves them.
    void Kill();

private:
    // Ends a shell that did not take the lock.
    void Abandon();

    int m_pid = -1;
    int m_input = -1;
    int m_output = -1;
};
