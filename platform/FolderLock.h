#pragma once

#include "platform/FileSystem.h"

class QString;

// A folder held open with an advisory lock, so that two runs of the program never write into
// one folder at once. The lock goes with the object; it makes no file of its own, and programs
// that take no such lock are not kept out.
class FolderLock
{
public:
    // Opens the folder at path and takes its lock if no one holds it; raises the matching
    // AppError when the folder cannot be opened. A file system that keeps no locks gives one
    // that is always taken.
    explicit FolderLock(const QString &path);
    FolderLock(FolderLock &&other) noexcept;
    FolderLock &operator=(FolderLock &&other) noexcept;
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;
    ~FolderLock();

    // False when another holds the lock.
    bool isTaken() const { return m_taken; }
    // The folder that was opened, wherever it has moved to since.
    FileIdentity identity() const { return m_identity; }

private:
    int m_descriptor = -1;
    bool m_taken = false;
    FileIdentity m_identity;
};
