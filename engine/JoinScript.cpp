#include "engine/JoinScript.h"

namespace modMorlend {

namespace {

QString quoted(const QString &name)
{
    // The interpreter expands "%" even inside quotes; "%%" is how a script writes one.
    return u'"' + QString(name).replace(u'%', QStringLiteral("%%")) + u'"';
}

} // namespace

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
