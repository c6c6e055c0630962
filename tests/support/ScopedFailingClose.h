#pragma once

#include <QByteArray>

#include <sys/types.h>

// Makes a file fail as it is closed, as on a file system that takes every write and tells only
// then that it cannot keep them (a quota, NFS, sshfs, a FUSE file system): while the object
// lives, each close of a descriptor of the file named path, when the file is longer than
// keeps bytes, loses what lies beyond them and reports "Disk quota exceeded". Shorter, it
// closes as ever. The test program's close stands in for the C library's to do this; only one
// file fails at a time.
class ScopedFailingClose
{
public:
    ScopedFailingClose(const QByteArray &path, off_t keeps);
    ~ScopedFailingClose();
    ScopedFailingClose(const ScopedFailingClose &) = delete;
    ScopedFailingClose &operator=(const ScopedFailingClose &) = delete;

    // How many closes failed so far.
    int failures() const;
};
