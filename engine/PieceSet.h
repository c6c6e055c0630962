#pragma once

#include "engine/JoinScriptReader.h"
#include "platform/FileSystem.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <vector>

class OpenFolder;

// The pieces of a join script as they lie beside it, looked at before anything is written.
namespace modMorlend {

struct Piece
{
    // Its name as the folder has it, which may differ in case from the script's: the file
    // system's bytes, in which thousands of pieces are looked up and opened.
    QByteArray bytes;
    // What the name leads to, links followed, when it was looked at.
    NamedFile file;

    // The name as text, for a message or a path.
    QString name() const;
};

// Why the file of piece, in folder, is no piece (a folder, a pipe, an empty file); empty when it
// may be one.
QString pieceFault(const QString &folder, const Piece &piece);

// The names in folder of set's pieces, by number, as the joining machine finds them: without
// regard to case, so that a number may have more than one. Numbers beyond the set's are left out.
QMap<qint64, QStringList> pieceNamesIn(const QString &folder, const JoinSet &set);

// The pieces of set in folder (opened as opened), by number, as the joining machine finds
// them: a name that differs from the script's only in case is the piece, where the script's own
// is missing. Throws a JoinStop that names the first piece that is missing or no file, or
// empty, and then the first whose length differs from the others before the last, or a last
// one longer than they are.
std::vector<Piece> findPieces(const OpenFolder &opened, const QString &folder, const JoinSet &set,
                              const OemCodePage &codePage);

} // namespace modMorlend
