#include "engine/SetNames.h"

#include "engine/JoinScript.h"

#include <algorithm>

namespace modMorlend {

namespace {

// How many names a message lists before it only counts the rest.
constexpr qsizetype NamesListed = 3;

bool isPieceNumber(QStringView text)
{
    // Pieces are numbered in decimal without leading zeros, from 1.
    return !text.isEmpty() && text.front() != u'0'
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

SetName setNameOf(const QString &name, const QString &fileName)
{
    if (name.compare(fileName, Qt::CaseInsensitive) == 0)
        return SetName::Joined;
    if (name.compare(scriptName(fileName), Qt::CaseInsensitive) == 0)
        return SetName::Script;
    const QString prefix = fileName + u'.';
    if (name.startsWith(prefix, Qt::CaseInsensitive)
        && isPieceNumber(QStringView(name).mid(prefix.size())))
        return SetName::Piece;
    return SetName::None;
}

void sortSetNames(QStringList &names, const QString &fileName)
{
    const qsizetype numberStart = fileName.size() + 1;
    // A piece's number as its length and its digits sorts numbers of any size.
    const auto key = [&](const QString &name) {
        const bool isPiece = setNameOf(name, fileName) == SetName::Piece;
        const QStringView number = QStringView(name).mid(numberStart);
        return std::tuple(!isPiece, isPiece ? number.size() : 0,
                          isPiece ? number : QStringView(name));
    };
    std::sort(names.begin(), names.end(),
              [&](const QString &a, const QString &b) { return key(a) < key(b); });
}

QString listForMessage(const QStringList &names)
{
    if (names.size() > NamesListed) {
        return names.first(NamesListed).join(QStringLiteral(", "))
            + QStringLiteral(" and %1 more").arg(names.size() - NamesListed);
    }
    if (names.size() < 2)
        return names.value(0);
    return names.first(names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ")
        + names.last();
}

} // namespace modMorlend
