#pragma once

#include <QByteArray>
#include <QString>

namespace modMorlend {

// What the window and the cutting engine share for the whole life of the program. It is
// never reset as a whole: each value keeps what its last writer left.
struct EngineState
{
    // Full path of the file to cut; empty until a file is dropped.
    QString SourcePath;
    // Bytes per piece, as the user typed or picked it.
    qint32 PieceSize = 0;
    // Length of the source and the number of pieces it gives, as the last estimate measured.
    // 64-bit so that sources beyond 2 GiB are planned like any other.
    qint64 SourceSize = 0;
    qint64 PieceCount = 0;
    // The bytes of a piece pass through it where the system cannot copy file to file; a fixed
    // size whatever the piece's, and freed when the run ends.
    QByteArray PieceBuffer;
    // Destination folder of the current run, or "A:" for the floppy.
    QString OutFolder;
    // Join-script lines composed for the current piece.
    QString JoinLine;
    QString DeleteLine;
    // The join script will not fit on the last floppy beside the last piece.
    bool NeedExtraDisk = false;
    // The source lies on drive A: and drive A: would be cleared.
    bool SourceOnClearedDisk = false;
    // The user declined to insert the next floppy.
    bool CancelRun = false;
    // Full path of the command interpreter that clears a floppy.
    QString InterpreterPath;
};

} // namespace modMorlend
