#pragma once

#include "engine/DiskQuestions.h"
#include "engine/OutputSet.h"
#include "engine/Prompter.h"
#include "platform/FileSystem.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class AppError;
class Platform;

namespace modMorlend {

class EngineView;
class PieceWriter;
class RunControl;
struct BadCopy;
struct EngineState;

// The disks of a floppy run: which disk is in the drive, which disk holds which of the run's
// pieces, whether the disk in the drive can take the next one, what the run asks for when it
// cannot, the clearing of a disk, and the hand-over of the join script onto the last disk or
// one more.
class FloppyDisks
{
public:
    FloppyDisks(const Platform &platform, EngineView &view, const EngineState &state,
                RunControl &control, OutputSet &outputs, PieceWriter &writer);

    // Where the join script of fileName waits in folder: "~join~" and the name, numbered when
    // something (another run's script) has that name already, so that no two runs share it.
    static QString waitingScriptPath(const Platform &platform, const QString &folder,
                                     const QString &fileName);

    // Whether the run clears each disk before its piece: only when it writes to the floppy's
    // root, since clearing a disk that a folder of the run lies on would take the run's own
    // pieces with it.
    [[nodiscard]] bool clearsDisks() const;
    // Has write put piece number index, of length bytes, onto the disk in the drive, asking for
    // another disk for as long as the one there cannot take it; none when the user cancels or
    // the run stops.
    [[nodiscard]] std::optional<NamedFile>
    copyPieceOntoADisk(qint64 index, qint64 length,
                       const std::function<std::optional<NamedFile>()> &write);
    // The piece at path is on the disk in the drive now.
    void notePieceOnDisk(const QString &path);
    // Says why on a line of its own and asks for floppy number index (OK/Cancel); true when the
    // user answers OK.
    [[nodiscard]] bool askForDisk(const QString &why, qint64 index, Prompter::Icon icon);
    // Copies the join script from temporaryScriptPath onto the disk in the drive, or onto one
    // more disk when it will not fit there; asks again after a failure. Returns whether the user
    // cancelled, or the run was stopped.
    [[nodiscard]] bool handOverScript(const QString &fileName, const QString &temporaryScriptPath);

private:
    // A piece of this run on a disk, as it was when written.
    struct PieceOnDisk
    {
        QString path;
        FileStamp stamp;
    };

    // Asks for disk number index until the drive holds none that this run wrote a piece on;
    // false when the user cancels.
    bool awaitDiskWithoutPiece(qint64 index);
    // Makes sure that the disk in the drive holds no file with a name of the set, asking for
    // another disk (number index) or whether they may go; false when the user cancels.
    bool awaitDiskWithoutSetNames(qint64 index, const QString &fileName);
    // Clears the disk in the drive for piece index, asking first when it holds anything; false
    // when the user would rather put in another disk.
    bool clearForPiece(qint64 index);
    // What the disk in the drive holds of the set of fileName, this run's own pieces left out.
    OutputSet::NamesFound setNamesInDrive(const QString &fileName) const;
    // Why the disk in the drive cannot take a piece of length bytes (number index), once
    // cleared or as it is; empty when it can, or cannot tell.
    QString whyTheDiskCannotHold(qint64 length, qint64 index, bool cleared) const;
    // Why the disk in the drive cannot take the join script of fileName; empty when it can.
    QString whyTheScriptCannotGoThere(const QString &fileName) const;
    // What an error while the disk was used says of the disk, in plain words; an error that is
    // not the disk's is thrown on.
    QString whatWentWrongOnTheDisk(const AppError &error, qint64 index);
    // That the disk did not keep what, written on it, in plain words.
    QString whyTheDiskIsBad(const BadCopy &bad, const QString &what);
    // Copies the script from temporaryScriptPath onto the disk in the drive as target, under
    // another name until it is whole; none when the run is stopped.
    std::optional<NamedFile> copyScript(const QString &target, const QString &temporaryScriptPath,
                                        const QString &fileName);
    // After the script could not be put on the disk in the drive: what that disk holds.
    QString scriptNotThere(bool besideLastPiece);
    // The piece of this run that the disk in the drive holds; empty when it holds none.
    QString pieceInDrive() const;
    // Whether name on the disk in the drive is a piece this run wrote.
    bool isOwnPieceInDrive(const QString &name) const;
    // Whether the disk in the drive is the one with piece.
    bool isInDrive(const PieceOnDisk &piece) const;
    void clearFloppy();

    const Platform &m_platform;
    EngineView &m_view;
    const EngineState &m_state;
    RunControl &m_control;
    OutputSet &m_outputs;
    PieceWriter &m_writer;
    DiskQuestions m_disks;
    // The pieces this run wrote into the floppy's root, one per disk.
    QList<PieceOnDisk> m_piecesOnDisks;
    // A file that the script was copied into and that could not be taken away again.
    QString m_scriptLeftOnDisk;
};

} // namespace modMorlend
