#include "platform/Platform.h"

#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/FloppyDrive.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

Platform::Platform()
    : m_temporaryFolder(QString::fromLocal8Bit(P_tmpdir))
    , m_homeFolder(QDir::homePath())
    // The mount point comes as the script's first argument, never as part of its text, so no
    // name of a folder can turn into a command. -xdev keeps to the floppy's own volume.
    , m_clearArguments({QStringLiteral("-c"),
                        QStringLiteral("exec find \"$1\" -xdev -mindepth 1 -delete"),
                        QStringLiteral("sh")})
{
}

void Platform::setFloppyMountPoint(const QString &path)
{
    m_floppyLookup = FloppyDrive::Lookup();
    if (!path.isEmpty())
        m_floppyLookup->disks << FloppyDrive::Volume {path, {}, false};
}

FloppyDrive::Lookup Platform::floppyLookup() const
{
    return m_floppyLookup ? *m_floppyLookup : FloppyDrive::lookUpSystem();
}

FloppyDrive::Volume Platform::floppyDisk() const
{
    // With two disks mounted, either could be meant: the run asks rather than pick one.
    const QList<FloppyDrive::Volume> disks = floppyLookup().disks;
    if (disks.size() != 1)
        throw AppError(AppError::DiskNotReady);
    return disks.front();
}

QString Platform::floppyMountPoint() const
{
    return floppyDisk().mountPoint;
}

bool Platform::isOnFloppy(const QString &path) const
{
    if (FloppyDrive::startsWithName(path))
        return true;
    const QList<FloppyDrive::Volume> disks = floppyLookup().disks;
    if (disks.isEmpty())
        return false;
    // A folder that a run is yet to create lies where its nearest existing parent lies.
    QFileInfo existing(path);
    while (!existing.exists() && existing.absolutePath() != existing.absoluteFilePath())
        existing.setFile(existing.absolutePath());
    const QString target = existing.canonicalFilePath();
    return !target.isEmpty()
        && std::any_of(disks.cbegin(), disks.cend(), [&](const FloppyDrive::Volume &disk) {
               const QString root = QFileInfo(disk.mountPoint).canonicalFilePath();
               return !root.isEmpty()
                   && (target == root || target.startsWith(root + QLatin1Char('/')));
           });
}

QString Platform::resolve(const QString &path) const
{
    if (!FloppyDrive::startsWithName(path))
        return path;
    return floppyMountPoint()
        + path.mid(FloppyDrive::Name.size()).replace(FloppyDrive::Separator, u'/');
}

QString Platform::interpreterPath() const
{
    return QStringLiteral("/bin/sh");
}

CommandLine Platform::clearCommand(const QString &interpreterPath, const QString &mountPoint) const
{
    return {interpreterPath, m_clearArguments + QStringList {mountPoint}};
}

void Platform::flushToDisk(File &file) const
{
    file.flushToDisk();
}
