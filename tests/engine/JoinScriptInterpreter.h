#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// A scratch folder in memory and the part of the command interpreter that join scripts use:
// a batch file of CR LF lines, "@echo off", and ren, copy /b with "+" and del on quoted
// names. Names and script are bytes in the console's code page. The interpreter is strict:
// whatever the real one would read differently from the script's plain intent (a "%" it would
// expand, a character that would end a command or start another outside quotes, a line
// broken inside a name, a file that is missing or already there) stops the run as a failure.
class JoinScriptInterpreter
{
public:
    void addFile(const QByteArray &name, const QByteArray &content)
    {
        m_files.insert(name, content);
    }

    // Runs the script of that name from the folder. False, with the reason in failure(), at
    // the first line that would not do what it says.
    bool run(const QByteArray &scriptName);

    const QMap<QByteArray, QByteArray> &files() const { return m_files; }
    const QString &failure() const { return m_failure; }

private:
    bool fail(const QString &reason);
    bool runLine(const QByteArray &line);
    bool rename(const QList<QByteArray> &arguments);
    bool copy(const QList<QByteArray> &arguments);
    bool remove(const QList<QByteArray> &arguments);
    bool needFile(const QByteArray &name);

    QMap<QByteArray, QByteArray> m_files;
    QString m_failure;
};
