// Names and the console's code pages: a name the join script may carry, and every line of the
// script that names it, reads back from its bytes in the page exactly as it went in, and its
// bytes hold no quote, line end or other control byte that would break a line of the script;
// any text the page says it can write reads back so; and no bytes make reading them fail other
// than by reading nothing.

#include "engine/JoinScript.h"
#include "engine/NameRules.h"
#include "platform/OemCodePage.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

// Every page the system gives a locale, and one the C library cannot convert.
const int Pages[]
    = {437, 720, 737, 775, 850, 852, 855, 857, 862, 866, 874, 932, 936, 949, 950, 1258, 1};

const OemCodePage &pageNumbered(std::uint8_t choice)
{
    static const auto pages = [] {
        std::vector<OemCodePage> made;
        for (const int number : Pages)
            made.emplace_back(number);
        return made;
    }();
    return pages[choice % pages.size()];
}

void expectReadsBack(const OemCodePage &page, const QString &text)
{
    if (!page.canEncode(text) || page.decode(page.encode(text)) != text)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const OemCodePage &page = pageNumbered(data[0]);
    const auto *bytes = reinterpret_cast<const char *>(data + 1);
    const qsizetype length = qsizetype(size - 1);

    // The bytes as UTF-16 units, halves of surrogate pairs alone among them.
    const QString name(reinterpret_cast<const QChar *>(bytes), length / 2);
    if (page.canEncode(name))
        expectReadsBack(page, name);
    if (!modMorlend::refusalOfName(name, page)) {
        using namespace modMorlend;
        const QByteArray written = page.encode(name);
        if (std::any_of(written.cbegin(), written.cend(),
                        [](char byte) { return byte == '"' || (byte >= 0 && byte < 0x20); }))
            std::abort();
        const QString piece = pieceName(name, 2);
        for (const QString &line : {renameLine(name), appendLine(name, piece), deleteLine(piece),
                                    deleteLine(scriptName(name))})
            expectReadsBack(page, line);
    }

    // The bytes as a script's, read as the joining machine reads them.
    if (const std::optional<QString> text = page.decode(QByteArray(bytes, length))) {
        if (page.canEncode(*text))
            expectReadsBack(page, *text);
    }
    return 0;
}
