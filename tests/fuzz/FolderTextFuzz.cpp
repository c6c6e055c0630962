// The folder box's text, as readFolderText reads it: every text but the empty one names the
// floppy, a whole path of this system's or a refusal, never two of them; and a folder it names,
// typed again, names the same folder.

#include "engine/FolderText.h"
#include "platform/AppError.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

const QString Home = QStringLiteral("/home/me");

bool namesAFolder(const QString &folder)
{
    return folder == QStringLiteral("A:") || folder.startsWith(QStringLiteral("A:\\"))
        || folder.startsWith(u'/');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    modMorlend::FolderText read;
    try {
        read = modMorlend::readFolderText(text, Home);
    } catch (const AppError &error) {
        if (!text.isEmpty() || error.number() != AppError::InvalidArgument)
            std::abort();
        return 0;
    }
    if (read.folder.isEmpty() == read.refusal.isEmpty())
        std::abort();
    if (read.folder.isEmpty())
        return 0;
    if (!namesAFolder(read.folder)
        || modMorlend::readFolderText(read.folder, Home).folder != read.folder)
        std::abort();
    return 0;
}
