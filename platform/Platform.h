#pragma once

#include "platform/FloppyDrive.h"
#include "platform/RunAndWait.h"

#include <QString>
#include <QStringList>

#include <optional>

class File;

// The services of the classic desktop that this system provides differently: drive A: is
// wherever the floppy is mounted, the root of drive C: is the system's temporary folder, and
// the command interpreter clears a floppy with a command of this system. The program uses
// the system's own; tests point each of them at folders and scripts of their own.
class Platform
{
public:
    Platform();
    virtual ~Platform() = default;

    // path with the floppy's drive name at its start replaced by the floppy's mount point, any
    // other path as it is. With no floppy mounted, or more than one, a path on it raises "Disk
    // not ready".
    QString resolve(const QString &path) const;
    // What is mounted now that is, or might have been taken for, the floppy.
    FloppyDrive::Lookup floppyLookup() const;
    // The floppy disk in the drive now; "Disk not ready" when there is none, or more than one.
    FloppyDrive::Volume floppyDisk() const;
    // Where the floppy disk in the drive is mounted now; "Disk not ready" as for floppyDisk.
    QString floppyMountPoint() const;
    // Whether path lies on a floppy: it starts with the drive's name, or it leads (links
    // followed) into a floppy disk's mount point, or would once the folders it names are made.
    bool isOnFloppy(const QString &path) const;
    // The folder that stands for the root of drive C:.
    QString temporaryFolder() const { return m_temporaryFolder; }
    // The user's home folder, which "~" names.
    QString homeFolder() const { return m_homeFolder; }
    // The command interpreter, and the command by which it empties the floppy mounted at
    // mountPoint: every file and folder goes, without a question.
    QString interpreterPath() const;
    CommandLine clearCommand(const QString &interpreterPath, const QString &mountPoint) const;
    // How long clearing a disk may take, in milliseconds.
    int clearTimeLimit() const { return m_clearTimeLimit; }
    // Returns once what was written to file has reached its disk, so that the disk can be
    // taken out. Virtual so that tests can see when it happens.
    virtual void flushToDisk(File &file) const;

    // For tests: the floppy's mount point (empty: none mounted) instead of the system's.
    void setFloppyMountPoint(const QString &path);
    // For tests: what the mount table holds instead of the system's.
    void setFloppyLookup(const FloppyDrive::Lookup &lookup) { m_floppyLookup = lookup; }
    void setTemporaryFolder(const QString &path) { m_temporaryFolder = path; }
    void setHomeFolder(const QString &path) { m_homeFolder = path; }
    // For tests: the interpreter runs this script, with the mount point as its one argument,
    // instead of its own clearing command.
    void setClearScript(const QString &path) { m_clearArguments = {path}; }
    void setClearTimeLimit(int milliseconds) { m_clearTimeLimit = milliseconds; }

private:
    std::optional<FloppyDrive::Lookup> m_floppyLookup;
    QString m_temporaryFolder;
    QString m_homeFolder;
    QStringList m_clearArguments;
    int m_clearTimeLimit = 60000;
};
