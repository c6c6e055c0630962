#include "engine/NameRules.h"

#include "engine/JoinScript.h"
#include "platform/OemCodePage.h"

#include <QStringList>

#include <algorithm>

namespace modMorlend {

namespace {

const QString RenameAndTryAgain = LineEnd + QStringLiteral("Rename the file and try again.");

// A double quote would end the script's quotes, and a line end or another control character
// would break the line, so that the rest of the name could run as commands.
bool breaksOutOfQuotes(QChar c)
{
    return c == u'"' || c.unicode() < 0x20 || c.unicode() == 0x7f;
}

// Characters that no name holds there: separators of drives and folders, redirections, and
// the wildcards by which "del" would delete every file that matches.
bool isReserved(QChar c)
{
    return QStringView(u"\\/:*?\"<>|").contains(c);
}

// The interpreter opens these as devices whatever follows the first dot, so the pieces would
// be written to a printer or a serial port, or nowhere. Windows also reads the superscript
// digits 1 to 3 as digits here.
bool isDeviceName(const QString &fileName)
{
    const QString stem = fileName.section(u'.', 0, 0).toUpper();
    static const QStringList devices {QStringLiteral("CON"), QStringLiteral("PRN"),
                                      QStringLiteral("AUX"), QStringLiteral("NUL")};
    if (devices.contains(stem))
        return true;
    const bool port = stem.size() == 4
        && (stem.startsWith(QStringLiteral("COM")) || stem.startsWith(QStringLiteral("LPT")));
    return port && QStringView(u"123456789\u00b9\u00b2\u00b3").contains(stem.at(3));
}

} // namespace

NameFault nameFaultOf(const QString &fileName, const OemCodePage &codePage)
{
    if (std::any_of(fileName.cbegin(), fileName.cend(), breaksOutOfQuotes))
        return NameFault::BreaksOutOfQuotes;
    if (std::any_of(fileName.cbegin(), fileName.cend(), isReserved))
        return NameFault::ReservedCharacter;
    if (fileName.endsWith(u' ') || fileName.endsWith(u'.'))
        return NameFault::EndsInBlankOrDot;
    if (isDeviceName(fileName))
        return NameFault::DeviceName;
    if (!codePage.canEncode(fileName))
        return NameFault::NotInCodePage;
    return NameFault::None;
}

std::optional<QString> refusalOfName(const QString &fileName, const OemCodePage &codePage)
{
    const QString cannotName = QStringLiteral("The join script cannot name the file");
    switch (nameFaultOf(fileName, codePage)) {
    case NameFault::None:
        return std::nullopt;
    case NameFault::BreaksOutOfQuotes:
        return cannotName
            + QStringLiteral(": its name holds a double quote or a control character, which"
                             " would break the script's commands.")
            + RenameAndTryAgain;
    case NameFault::ReservedCharacter:
        return cannotName
            + QStringLiteral(": its name holds one of the characters \\ / : * ? < > |, which"
                             " the joining machine reads as a wildcard or a separator, or allows"
                             " in no name.")
            + RenameAndTryAgain;
    case NameFault::EndsInBlankOrDot:
        return cannotName
            + QStringLiteral(": its name ends in a blank or a dot, which the joining machine"
                             " drops from a name.")
            + RenameAndTryAgain;
    case NameFault::DeviceName:
        return cannotName
            + QStringLiteral(": the joining machine keeps its name for a device (CON, PRN, AUX,"
                             " NUL, COM1 to COM9, LPT1 to LPT9), whatever follows its first"
                             " dot.")
            + RenameAndTryAgain;
    case NameFault::NotInCodePage:
        break;
    }
    const QString why = codePage.hasConverter()
        ? QStringLiteral("the console's code page %1 has no place for some of its characters.")
        : QStringLiteral("the C library of this system cannot write the console's code page"
                         " %1, so only names in ASCII can be written.");
    return cannotName + u' ' + fileName + QStringLiteral(": ") + why.arg(codePage.number())
        + RenameAndTryAgain;
}

} // namespace modMorlend
