#pragma once

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
struct EngineState;

// The disks of a floppy run: which disk holds which of the run's pieces, whether the disk in the
// drive can take the next one, what the run asks for when it cannot, the clearing of a disk, and
// the hand-over of the join script onto the last disk or one more.
class FloppyDisks
{
public:
    FloppyDisks(const Platform &platform, const EngineView &view, const EngineState &state,
                RunControl &control, OutputSet &outputs, PieceWriter &writer);

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
    // cancelled.
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
    // What the disk in the drive holds of the set of fileName, this run's own pieces left out.
    OutputSet::NamesFound setNamesInDrive(const QString &fileName) const;
    // Why the disk in the drive cannot take a piece of length bytes (number index), once
    // cleared or as it is; empty when it can, or cannot tell.
    QString whyTheDiskCannotHold(qint64 length, qint64 index, bool cleared) const;
    // What an error while the disk was used says of the disk, in plain words; an error that is
    // not the disk's is thrown on.
    QString whatWentWrongOnTheDisk(const AppError &error, qint64 index);
    // The piece of this run that the disk in the drive holds; empty when it holds none.
    QString pieceInDrive() const;
    // Whether name on the disk in the drive is a piece this run wrote.
    bool isOwnPieceInDrive(const QString &name) const;
    // Whether the disk in the drive is the one with piece.
    bool isInDrive(const PieceOnDisk &piece) const;
    void clearFloppy();

    const Platform &m_platform;
    const EngineView &m_view;
    const EngineState &m_state;
    RunControl &m_control;
    OutputSet &m_outputs;
    PieceWriter &m_writer;
    // The pieces this run wrote into the floppy's root, one per disk.
    QList<PieceOnDisk> m_piecesOnDisks;
};

} // namespace modMorlend
