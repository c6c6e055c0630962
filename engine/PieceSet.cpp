#include "engine/PieceSet.h"

#include "engine/JoinOutcome.h"
#include "engine/JoinScript.h"
#include "engine/PathHelpers.h"
#include "engine/SetNames.h"
#include "engine/SizeText.h"
#include "platform/OpenFolder.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace modMorlend {

namespace {

[[noreturn]] void refuse(const QString &message)
{
    throw JoinStop {JoinOutcome::Kind::NotJoinable, message};
}

// The names in a folder that differ from a piece's only in case, by the piece's number. Looked
// at once, and only when a piece is missing under its own name.
class CaseInsensitiveNames
{
public:
    CaseInsensitiveNames(const QString &folder, const JoinSet &set)
        : m_folder(folder)
        , m_set(set)
    {
    }

    QStringList namesOf(qint64 index)
    {
        if (!m_names)
            m_names = pieceNamesIn(m_folder, m_set);
        return m_names->value(index);
    }

    const QString &fileName() const { return m_set.fileName; }

private:
    QString m_folder;
    JoinSet m_set;
    std::optional<QMap<qint64, QStringList>> m_names;
};

// What is said of the piece name missing from folder.
QString missing(const QString &name, const QString &folder, const QString &fileName,
                const OemCodePage &codePage)
{
    const QString said = name + QStringLiteral(" is missing from ") + folder + u'.';
    if (std::all_of(fileName.cbegin(), fileName.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return said;
    // A script read in another page than it was written in names other files.
    return said + LineEnd
        + QStringLiteral("The script was read in the console's code page %1 of your language"
                         " and region; one written where the console has another page names its"
                         " files in that page's letters.")
              .arg(codePage.number());
}

QString leadsNowhere(const QString &name)
{
    return name + QStringLiteral(" is a link that leads nowhere, not a piece.");
}

// The name that piece has in folder, where nothing has the piece's own name: one that differs
// from it only in case, as the joining machine finds it. Refuses a link at the piece's name
// that leads nowhere, two such names, and none.
QString nameInOtherCase(qint64 index, const QString &folder, CaseInsensitiveNames &otherCases,
                        const OemCodePage &codePage)
{
    const QString piece = pieceName(otherCases.fileName(), index);
    if (FileSystem::namedFile(joinPath(folder, piece)))
        refuse(leadsNowhere(piece));
    const QStringList others = otherCases.namesOf(index);
    if (others.size() > 1) {
        refuse(piece + QStringLiteral(" is missing, and ") + listForMessage(others)
               + QStringLiteral(" differ from its name only in case: the joining machine would"
                                " take them for one name."));
    }
    if (others.isEmpty())
        refuse(missing(piece, folder, otherCases.fileName(), codePage));
    return others.first();
}

// The length that the pieces before the last have: the one most of them have, the longer of
// two as many, since a piece cut short is more likely than one grown.
qint64 commonLength(const std::vector<Piece> &pieces)
{
    QHash<qint64, qint64> counts;
    for (std::size_t index = 0; index + 1 < pieces.size(); ++index)
        ++counts[pieces[index].file.stamp.length];
    qint64 common = 0;
    qint64 most = 0;
    for (auto count = counts.cbegin(); count != counts.cend(); ++count) {
        if (count.value() > most || (count.value() == most && count.key() > common)) {
            common = count.key();
            most = count.value();
        }
    }
    return common;
}

void checkLengths(const std::vector<Piece> &pieces)
{
    if (pieces.size() < 2)
        return;
    const qint64 common = commonLength(pieces);
    for (std::size_t index = 0; index + 1 < pieces.size(); ++index) {
        const Piece &piece = pieces[index];
        if (piece.file.stamp.length != common) {
            refuse(piece.name() + QStringLiteral(" has ") + formatBytes(piece.file.stamp.length)
                   + QStringLiteral(", the pieces before the last have ") + formatBytes(common)
                   + u'.');
        }
    }
    const Piece &last = pieces.back();
    if (last.file.stamp.length > common) {
        refuse(last.name() + QStringLiteral(", the last piece, has ")
               + formatBytes(last.file.stamp.length) + QStringLiteral(", more than the ")
               + formatBytes(common) + QStringLiteral(" of each piece before it."));
    }
}

} // namespace

QString pieceFault(const QString &folder, const Piece &piece)
{
    if (!piece.file.isRegularFile) {
        return FileSystem::isFolder(joinPath(folder, piece.name()))
            ? piece.name() + QStringLiteral(" is a folder, not a piece.")
            : piece.name()
                + QStringLiteral(" is no file but a pipe, a device or a socket, not a piece.");
    }
    // A cut writes no empty piece; one that is empty was cut short.
    if (piece.file.stamp.length == 0)
        return piece.name() + QStringLiteral(" is empty, and a cut writes no empty piece.");
    return {};
}

QMap<qint64, QStringList> pieceNamesIn(const QString &folder, const JoinSet &set)
{
    QMap<qint64, QStringList> names;
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString &entry : entries) {
        if (setNameOf(entry, set.fileName) != SetName::Piece)
            continue;
        // A number too long for the set is beyond it.
        bool valid = false;
        const qint64 index = QStringView(entry).mid(set.fileName.size() + 1).toLongLong(&valid);
        if (valid && index <= set.pieceCount)
            names[index] << entry;
    }
    return names;
}

QString Piece::name() const
{
    return QFile::decodeName(bytes);
}

std::vector<Piece> findPieces(const OpenFolder &opened, const QString &folder, const JoinSet &set,
                              const OemCodePage &codePage)
{
    CaseInsensitiveNames otherCases(folder, set);
    std::vector<Piece> pieces;
    // The script held two lines for each piece, so this is no more than its length asks.
    pieces.reserve(std::size_t(set.pieceCount));
    // A piece's name is the set's name, a dot and its number; the name's bytes before the number
    // are made once.
    const QByteArray beforeNumber = QFile::encodeName(pieceName(set.fileName, 0)).chopped(1);
    for (qint64 index = 1; index <= set.pieceCount; ++index) {
        QByteArray bytes = beforeNumber + QByteArray::number(index);
        std::optional<NamedFile> file = opened.fileAt(bytes);
        if (!file) {
            const QString name = nameInOtherCase(index, folder, otherCases, codePage);
            bytes = QFile::encodeName(name);
            file = opened.fileAt(bytes);
            if (!file)
                refuse(leadsNowhere(name));
        }
        pieces.push_back({bytes, *file});
        if (const QString fault = pieceFault(folder, pieces.back()); !fault.isEmpty())
            refuse(fault);
    }
    checkLengths(pieces);
    return pieces;
}

} // namespace modMorlend
