#include "JoinScript.h"

#include <algorithm>

namespace modMorlend {

namespace {

QString quoted(const QString &name)
{
    // The interpreter expands "%" even inside quotes; "%%" is how a script writes one.
    return u'"' + QString(name).replace(u'%', QStringLiteral("%%")) + u'"';
}

} // namespace

bool canBeQuoted(const QString &name)
{
    return std::none_of(name.cbegin(), name.cend(), [](QChar c) {
        return c == u'"' || c.unicode() < 0x20 || c.unicode() == 0x7f;
    });
}

QString pieceName(const QString &fileName, qint64 index)
{
    return fileName + u'.' + QString::number(index);
}

QString scriptName(const QString &fileName)
{
    return fileName + QStringLiteral(".bat");
}

QString headerLine()
{
    return QStringLiteral("@echo off");
}

QString renameLine(const QString &fileName)
{
    return QStringLiteral("ren ") + quoted(pieceName(fileName, 1)) + u' ' + quoted(fileName);
}

QString appendLine(const QString &fileName, const QString &piece)
{
    return QStringLiteral("copy /b ") + quoted(fileName) + u'+' + quoted(piece) + u' '
        + quoted(fileName);
}

QString deleteLine(const QString &name)
{
    return QStringLiteral("del ") + quoted(name);
}

} // namespace modMorlend
