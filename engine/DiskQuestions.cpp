#include "engine/DiskQuestions.h"

#include "engine/MessageText.h"
#include "engine/RunControl.h"
#include "engine/SetNames.h"
#include "platform/AppError.h"
#include "platform/FloppyDrive.h"
#include "platform/Platform.h"

#include <QStringList>

#include <utility>

using namespace Qt::StringLiterals;

namespace modMorlend {

DiskQuestions::DiskQuestions(const Platform &platform, RunControl &control, QString operation)
    : m_platform(platform)
    , m_control(control)
    , m_operation(std::move(operation))
{
}

QString DiskQuestions::volumeName(const FloppyDrive::Volume &volume)
{
    QStringList notes;
    if (!volume.device.isEmpty())
        notes << volume.device;
    if (volume.readOnly)
        notes << u"write-protected"_s;
    return notes.isEmpty() ? volume.mountPoint
                           : u"%1 (%2)"_s.arg(volume.mountPoint, notes.join(u", "_s));
}

QString DiskQuestions::whatTheErrorSays(const AppError &error, Use use)
{
    const bool writing = use == Use::Writing;
    switch (error.number()) {
    case AppError::DiskNotReady:
        return u"There is no disk in the drive."_s;
    case AppError::PermissionDenied:
        if (writing)
            return WriteProtected;
        break;
    case AppError::DiskFull:
        // Reading a disk fills none: what is full is where the run writes.
        if (!writing)
            throw error;
        return u"The disk in the drive is full."_s;
    case AppError::DeviceIOError:
    case AppError::PathFileAccessError:
    case AppError::FileNotFound:
    case AppError::PathNotFound:
        break;
    default:
        // Not the disk's doing (the file being cut, memory, say): the run ends with the error.
        throw error;
    }
    return writing ? u"The disk in the drive cannot be written: %1."_s.arg(error.description())
                   : u"The disk in the drive cannot be read: %1."_s.arg(error.description());
}

QString DiskQuestions::whyNoDiskIsTaken() const
{
    const FloppyDrive::Lookup lookup = m_platform.floppyLookup();
    if (lookup.disks.size() == 1)
        return {};
    QStringList names;
    for (const FloppyDrive::Volume &disk : lookup.disks)
        names << volumeName(disk);
    if (!names.isEmpty()) {
        // Either may be the disk meant, and the other may be one that clearing would empty.
        return u"%1 floppy disks are mounted: %2. Unmount all of them but one, so that %3 knows"
               " which disk is drive A:."_s.arg(QString::number(names.size()),
                                                listForMessage(names), m_operation);
    }
    QStringList found {u"There is no disk in the drive."_s};
    for (const FloppyDrive::Volume &volume : lookup.tooLarge) {
        found << u"The volume at %1 is larger than a floppy disk, so it is not taken for drive"
                 " A:."_s.arg(volumeName(volume));
    }
    return found.join(LineEnd);
}

bool DiskQuestions::askForDisk(const QString &why, const QString &request, Prompter::Icon icon)
{
    const Prompter::Message message {why.isEmpty() ? request : lines({why, request}), icon,
                                     Prompter::Buttons::OkCancel};
    return m_control.ask(message) == Prompter::Reply::Ok;
}

} // namespace modMorlend
