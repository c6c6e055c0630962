#include "platform/Platform.h"

#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/FloppyDrive.h"

#include <QDir>
#include <QFileInfo>

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

QString Platform::mountedFloppy() const
{
    return m_floppyMountPoint ? *m_floppyMountPoint : FloppyDrive::findMountPoint();
}

QString Platform::floppyMountPoint() const
{
    const QString mountPoint = mountedFloppy();
    if (mountPoint.isEmpty())
        throw AppError(AppError::DiskNotReady);
    return mountPoint;
}

bool Platform::isOnFloppy(const QString &path) const
{
    if (FloppyDrive::startsWithName(path))
        return true;
    const QString mountPoint = mountedFloppy();
    if (mountPoint.isEmpty())
        return false;
    // A folder that a run is yet to create lies where its nearest existing parent lies.
    QFileInfo existing(path);
    while (!existing.exists() && existing.absolutePath() != existing.absoluteFilePath())
        existing.setFile(existing.absolutePath());
    const QString target = existing.canonicalFilePath();
    const QString root = QFileInfo(mountPoint).canonicalFilePath();
    return !target.isEmpty() && !root.isEmpty()
        && (target == root || target.startsWith(root + QLatin1Char('/')));
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
