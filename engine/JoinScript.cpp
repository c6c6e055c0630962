#include "engine/JoinScript.h"

#include <QStringBuilder>

// The lines are built in one step each (QStringBuilder): a script of a million pieces is
// written, and read back, line by line.
namespace modMorlend {

namespace {

QString quoted(const QString &name)
{
    // The interpreter expands "%" even inside quotes; "%%" is how a script writes one.
    const QString written
        = name.contains(u'%') ? QString(name).replace(u'%', QStringLiteral("%%")) : name;
    return u'"' % written % u'"';
}

} // namespace

QString pieceName(const QString &fileName, qint64 index)
{
    return fileName % u'.' % QString::number(index);
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
    return QStringLiteral("ren ") % quoted(pieceName(fileName, 1)) % u' ' % quoted(fileName);
}

QString appendLine(const QString &fileName, const QString &piece)
{
    return QStringLiteral("copy /b ") % quoted(fileName) % u'+' % quoted(piece) % u' '
        % quoted(fileName);
}

QString deleteLine(const QString &name)
{
    return QStringLiteral("del ") % quoted(name);
}

} // namespace modMorlend
