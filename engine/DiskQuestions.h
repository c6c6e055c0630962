#pragma once

#include "engine/Prompter.h"

#include <QString>

class AppError;
class Platform;

namespace FloppyDrive {
struct Volume;
}

namespace modMorlend {

class RunControl;

// What a run that goes from one floppy disk to the next says and asks about the disk in the
// drive: whether one disk is taken for drive A: and, when not, why; what an error on the disk
// says of it in plain words; and the request for another disk. The cut, which writes the disks,
// and the join, which reads them, ask alike.
class DiskQuestions
{
public:
    // How the run uses the disk in the drive.
    enum class Use
    {
        Writing,
        Reading,
    };

    static inline const QString WriteProtected
        = QStringLiteral("The disk in the drive is write-protected.");

    // operation names the run in its messages: "the cut", "the join".
    DiskQuestions(const Platform &platform, RunControl &control, QString operation);

    // A volume as a message names it: where it is mounted, and what the mount table calls it.
    static QString volumeName(const FloppyDrive::Volume &volume);
    // What an error raised while the disk in the drive was used so says of the disk, in plain
    // words. An error that is not the disk's (a full disk where the run reads from the floppy,
    // no memory) is thrown on.
    static QString whatTheErrorSays(const AppError &error, Use use);

    // Why no disk is taken for the drive (none, or more than one, mounted), and what was found
    // instead; empty when one is.
    QString whyNoDiskIsTaken() const;
    // Says why on a line of its own, when there is something to say, and then request (OK or
    // Cancel); true when the user answers OK.
    [[nodiscard]] bool askForDisk(const QString &why, const QString &request, Prompter::Icon icon);

private:
    const Platform &m_platform;
    RunControl &m_control;
    QString m_operation;
};

} // namespace modMorlend
