#pragma once

#include <QString>
#include <QStringList>

// The names of a cut's set as the machine that joins it sees them: without regard to case, so
// that CLIP.AVI.2 there is the piece clip.avi.2, and clip.avi the file the pieces join into.
namespace modMorlend {

enum class SetName
{
    // Not a name of the set.
    None,
    // The name the pieces join back into: a file there would have the pieces added to it.
    Joined,
    // A piece's name, of any number (an earlier, longer cut's further pieces included).
    Piece,
    Script,
};

// Which of the set of fileName the name in a folder is.
SetName setNameOf(const QString &name, const QString &fileName);

// Names of the set in the order a user reads them: the pieces by number, then the script.
void sortSetNames(QStringList &names, const QString &fileName);

// "a", "a and b", "a, b and c", or "a, b, c and 4 more" for a message.
QString listForMessage(const QStringList &names);

} // namespace modMorlend
