#include "engine/FolderText.h"

#include "engine/MessageText.h"
#include "engine/PathHelpers.h"
#include "platform/AppError.h"
#include "platform/FloppyDrive.h"

using namespace Qt::StringLiterals;

namespace modMorlend {

namespace {

const QString AskForAWholePath = u"Type the folder's whole path, beginning with / (or with ~ for"
                                 " your home folder), or A: for the floppy."_s;

bool hasDriveLetter(const QString &text)
{
    return text.size() >= 2 && text.at(0).unicode() < 0x80 && text.at(0).isLetter()
        && text.at(1) == u':';
}

// What follows "A:", with either separator, as a folder from the floppy's root, tidied.
QString onTheFloppy(const QString &text)
{
    const QString fromRoot = normalizedFolder(
        FloppyDrive::Separator
            + text.mid(FloppyDrive::Name.size()).replace(u'/', FloppyDrive::Separator),
        FloppyDrive::Separator);
    return fromRoot.size() == 1 ? FloppyDrive::Name : FloppyDrive::Name + fromRoot;
}

} // namespace

FolderText readFolderText(const QString &text, const QString &homeFolder)
{
    if (text.isEmpty())
        throw AppError(AppError::InvalidArgument);
    if (text.startsWith(FloppyDrive::Name, Qt::CaseInsensitive))
        return {onTheFloppy(text), {}};
    if (hasDriveLetter(text)) {
        return {{},
                lines({u"The folder %1 names drive %2, but here only A:, the floppy, names a"
                       " drive."_s.arg(text, text.left(2)),
                       AskForAWholePath})};
    }
    if (text == u'~' || text.startsWith(QStringLiteral("~/")))
        return {normalizedFolder(homeFolder + text.mid(1)), {}};
    if (text.startsWith(NativeSeparator))
        return {normalizedFolder(text), {}};
    return {{},
            lines({u"The folder \"%1\" is no whole path, so it does not say where the pieces would"
                   " go."_s.arg(text),
                   AskForAWholePath})};
}

} // namespace modMorlend
