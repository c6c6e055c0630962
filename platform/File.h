#pragma once

#include "platform/FileSystem.h"

#include <QtGlobal>

class QString;

// One open file of the operating system, closed when the object goes. A read or a write moves
// a whole buffer: a read in as few system calls as the system allows, a write in slices the
// kernel caches fastest (WriteSlice.h). Every failure raises the matching AppError, so
// callers deal in the program's catalogue only.
class File
{
public:
    // Opens an existing file for reading from its start.
    static File openForReading(const QString &path);
    // Creates a file that must not exist yet, which its owner may read and write and others
    // as sharing says, within the user's umask; whatever has the name already, a link
    // included, raises "File already exists" and is neither followed nor touched.
    static File createNew(const QString &path, const FileSharing &sharing);
    // The same, readable and writable by the user alone, whatever the file creation mask lets
    // others do: for a file whose content may be private until its permissions are set.
    static File createPrivate(const QString &path);
    // Puts a new, empty file in the place of whatever has the name path, made as createNew
    // makes it: a file, a link (never what it leads to), a pipe, a socket or a device node goes
    // first. A name made again by someone else between the two steps raises "File already
    // exists" rather than being written through; a folder at path raises "Path/File access
    // error".
    static File replace(const QString &path, const FileSharing &sharing);

    File(File &&other) noexcept;
    File &operator=(File &&other) noexcept;
    File(const File &) = delete;
    File &operator=(const File &) = delete;
    // Closes the file if it is still open; a failure at this point can no longer be reported.
    ~File();

    // Reads up to size bytes into data; fewer come back only at the end of the file.
    qint64 read(char *data, qint64 size);
    // Writes all size bytes of data, or raises.
    void write(const char *data, qint64 size);
    // The file's length now.
    qint64 size() const;
    FileIdentity identity() const;
    FileStamp stamp() const;
    // Both, and whether it is a regular file, from one look.
    NamedFile asNamedFile() const;
    FileSharing sharing() const;
    // Reads and writes go on from offset bytes into the file.
    void seek(qint64 offset);
    // Sets the file's permission bits (0777 and below).
    void setPermissions(quint32 permissions);
    // Cuts the file back to its first length bytes.
    void truncate(qint64 length);
    // Returns once everything written has reached the device.
    void flushToDisk();
    // Hands everything written to the file system as closing the file does, reporting what it
    // reports then, and keeps the file open. A network or FUSE file system, or a quota, may
    // take every write and tell only now that it cannot keep them.
    void flush();
    // Closes the file, reporting what the system reports on closing; a closed file stays so.
    void close();

private:
    friend class FileCopy;
    friend class OpenFolder;

    explicit File(int descriptor);
    static File open(const QString &path, int flags, mode_t mode = 0);

    int m_descriptor = -1;
};
