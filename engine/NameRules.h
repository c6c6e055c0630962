#pragma once

#include <QString>

#include <optional>

class OemCodePage;

// Which names the join script can carry to the machine that joins the pieces. A file is cut
// only when its name, its pieces' names and its script's name all stand there as they stand
// here and the script's commands act on them alone.
namespace modMorlend {

// Why the join script, written in codePage, cannot name the file fileName, as the message that
// refuses the run; none when it can. Names are looked at as characters, before any encoding.
std::optional<QString> refusalOfName(const QString &fileName, const OemCodePage &codePage);

} // namespace modMorlend
