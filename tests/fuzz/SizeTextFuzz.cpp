// The size box's text, as parsePieceSize reads it under one of several locales: whatever is
// typed or pasted, it gives a size or raises the program's error, and a size it gives, written
// plainly, reads as itself.

#include "engine/SizeText.h"
#include "platform/AppError.h"

#include <QLocale>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

// Locales whose numbers differ: separators of a dot, an apostrophe and narrow blanks, digits
// of their own, groups of two.
const char *const Locales[] = {"C", "en_US", "de_DE", "de_CH", "fr_FR", "ar_EG", "fa_IR", "hi_IN"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    QLocale::setDefault(QLocale(QLatin1StringView(Locales[data[0] % std::size(Locales)])));
    const QString text
        = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    qint32 pieceSize = 0;
    try {
        pieceSize = modMorlend::parsePieceSize(text);
    } catch (const AppError &) {
        return 0;
    }
    if (modMorlend::parsePieceSize(QString::number(pieceSize)) != pieceSize)
        std::abort();
    return 0;
}
