#include "JoinScript.h"

namespace modMorlend {

namespace {

QString quoted(const QString &name)
{
    return u'"' + name + u'"';
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

QString appendLine(const QString &fileName, qint64 index)
{
    return QStringLiteral("copy /b ") + quoted(fileName) + u'+' + quoted(pieceName(fileName, index))
        + u' ' + quoted(fileName);
}

QString deleteLine(const QString &name)
{
    return QStringLiteral("del ") + quoted(name);
}

} // namespace modMorlend
