#pragma once

#include "engine/LineEnd.h"

#include <QString>

// The names of a cut's output files and the lines of its join script. The script runs in the
// folder that holds every piece: it renames the first piece to the source's name, appends
// each further piece with a binary copy and deletes it, then deletes itself.
namespace modMorlend {

// Piece index of the file fileName: fileName, a dot and the index (clip.avi.2).
QString pieceName(const QString &fileName, qint64 index);
// The join script of fileName: fileName and ".bat".
QString scriptName(const QString &fileName);

QString headerLine();
// Renames the first piece to fileName.
QString renameLine(const QString &fileName);
// Appends the piece named piece to fileName.
QString appendLine(const QString &fileName, const QString &piece);
// Deletes the file name.
QString deleteLine(const QString &name);

} // namespace modMorlend
