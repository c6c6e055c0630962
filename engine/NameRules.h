#pragma once

#include <QString>

#include <optional>

class OemCodePage;

// Which names the join script can carry to the machine that joins the pieces. A file is cut
// only when its name, its pieces' names and its script's name all stand there as they stand
// here and the script's commands act on them alone. The cut refuses any other name before it
// writes, and reading a script refuses one too, so that the two always agree.
namespace modMorlend {

// What keeps a name out of a join script.
enum class NameFault
{
    None,
    // A double quote or a control character, which would break out of the script's quotes.
    BreaksOutOfQuotes,
    // One of \ / : * ? < > |: a separator, a redirection or a wildcard there.
    ReservedCharacter,
    // A blank or a dot at its end, which the joining machine drops.
    EndsInBlankOrDot,
    // A name the joining machine keeps for a device (CON, NUL, COM1, ...).
    DeviceName,
    // A character that codePage cannot write, or writes as another.
    NotInCodePage,
};

// Why the join script, written in codePage, cannot name the file fileName. Names are looked at
// as characters, before any encoding.
NameFault nameFaultOf(const QString &fileName, const OemCodePage &codePage);

// The same as the message that refuses a cut; none when the script can name the file.
std::optional<QString> refusalOfName(const QString &fileName, const OemCodePage &codePage);

} // namespace modMorlend
