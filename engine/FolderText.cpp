#include "engine/FolderText.h"

#include "engine/PathHelpers.h"
#include "platform/AppError.h"
#include "platform/FloppyDrive.h"

#include <QStringList>

namespace modMorlend {

namespace {

const QString AskForAWholePath = QStringLiteral(
    "Type the folder's whole path, beginning with / (or with ~ for your home folder), or A: for"
    " the floppy.");

bool hasDriveLetter(const QString &text)
{
    return text.size() >= 2 && text.at(0).unicode() < 0x80 && text.at(0).isLetter()
        && text.at(1) == u':';
}

// What follows "A:", with either separator, as the folder's parts on the floppy.
QString onTheFloppy(const QString &text)
{
    QString rest = text.mid(FloppyDrive::Name.size());
    rest.replace(u'/', FloppyDrive::Separator);
    const QStringList parts = rest.split(FloppyDrive::Separator, Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return FloppyDrive::Name;
    return FloppyDrive::Name + FloppyDrive::Separator + parts.join(FloppyDrive::Separator);
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
                QStringLiteral("The folder ") + text + QStringLiteral(" names drive ")
                    + text.left(2)
                    + QStringLiteral(", but here only A:, the floppy, names a drive.\r\n")
                    + AskForAWholePath};
    }
    if (text == u'~' || text.startsWith(QStringLiteral("~/")))
        return {normalizedFolder(homeFolder + text.mid(1)), {}};
    if (text.startsWith(NativeSeparator))
        return {normalizedFolder(text), {}};
    return {{},
            QStringLiteral("The folder \"") + text
                + QStringLiteral("\" is no whole path, so it does not say where the pieces would"
                                 " go.\r\n")
                + AskForAWholePath};
}

} // namespace modMorlend
