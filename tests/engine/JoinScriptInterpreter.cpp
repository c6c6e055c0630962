#include "tests/engine/JoinScriptInterpreter.h"

#include <QList>

namespace {

// The interpreter's first pass over a line: "%%" stands for "%", and any other "%" would
// expand a variable or a parameter. Returns false for such a "%".
bool expandPercents(const QByteArray &line, QByteArray &expanded)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] != '%') {
            expanded += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '%') {
            expanded += '%';
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

// Splits at blanks outside quotes. Characters that separate or redirect commands are only
// harmless inside quotes. The quotes themselves are kept for the command to take apart.
bool splitWords(const QByteArray &line, QList<QByteArray> &words)
{
    bool quoted = false;
    QByteArray word;
    for (const char c : line) {
        if (c == '"')
            quoted = !quoted;
        if (!quoted && QByteArrayView("&|<>^()").contains(c))
            return false;
        if (!quoted && c == ' ') {
            if (!word.isEmpty())
                words += word;
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.isEmpty())
        words += word;
    return !quoted;
}

// A name as a command reads it: the quotes around its parts go; wildcards are refused.
bool fileName(const QByteArray &word, QByteArray &name)
{
    name = QByteArray(word).replace('"', QByteArray());
    return !name.isEmpty() && !name.contains('*') && !name.contains('?');
}

// Splits "a"+"b" at plus signs outside quotes.
QList<QByteArray> sources(const QByteArray &word)
{
    QList<QByteArray> parts {QByteArray()};
    bool quoted = false;
    for (const char c : word) {
        if (c == '"')
            quoted = !quoted;
        if (!quoted && c == '+')
            parts += QByteArray();
        else
            parts.last() += c;
    }
    return parts;
}

} // namespace

bool JoinScriptInterpreter::fail(const QString &reason)
{
    m_failure = reason;
    return false;
}

bool JoinScriptInterpreter::needFile(const QByteArray &name)
{
    return m_files.contains(name) || fail("no file " + QString::fromLatin1(name));
}

bool JoinScriptInterpreter::run(const QByteArray &scriptName)
{
    if (!needFile(scriptName))
        return false;
    const QList<QByteArray> lines = m_files.value(scriptName).split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        const bool last = i + 1 == lines.size();
        if (i > 0 && !m_files.contains(scriptName))
            return fail(QString("line %1 follows the script's deletion of itself").arg(i + 1));
        // A script that ends in a line end (one cut back to its whole lines) ends there.
        if (last && line.isEmpty() && i > 0)
            break;
        if (last ? line.endsWith('\r') : !line.endsWith('\r'))
            return fail(QString("line %1 does not end in CR LF, or the last one does").arg(i + 1));
        if (!last)
            line.chop(1);
        if (line.contains('\r'))
            return fail(QString("line %1 holds a CR").arg(i + 1));
        if (i == 0) {
            if (line != "@echo off")
                return fail("the script does not start with @echo off");
            continue;
        }
        if (!runLine(line))
            return false;
    }
    return true;
}

bool JoinScriptInterpreter::runLine(const QByteArray &line)
{
    QByteArray expanded;
    if (!expandPercents(line, expanded))
        return fail("a % would expand something in: " + QString::fromLatin1(line));
    QList<QByteArray> words;
    if (!splitWords(expanded, words) || words.isEmpty())
        return fail("the line would not run as one command: " + QString::fromLatin1(line));
    const QByteArray command = words.takeFirst();
    if (command == "ren")
        return rename(words);
    if (command == "copy")
        return copy(words);
    if (command == "del")
        return remove(words);
    return fail("unknown command " + QString::fromLatin1(command));
}

bool JoinScriptInterpreter::rename(const QList<QByteArray> &arguments)
{
    QByteArray from;
    QByteArray to;
    if (arguments.size() != 2 || !fileName(arguments[0], from) || !fileName(arguments[1], to))
        return fail("ren takes two names");
    if (!needFile(from))
        return false;
    if (m_files.contains(to))
        return fail("ren onto an existing " + QString::fromLatin1(to));
    m_files.insert(to, m_files.take(from));
    return true;
}

bool JoinScriptInterpreter::copy(const QList<QByteArray> &arguments)
{
    if (arguments.size() != 3 || arguments[0] != "/b")
        return fail("copy is not a binary copy of sources into one target");
    QByteArray joined;
    for (const QByteArray &word : sources(arguments[1])) {
        QByteArray source;
        if (!fileName(word, source))
            return fail("copy names no source");
        if (!needFile(source))
            return false;
        joined += m_files.value(source);
    }
    QByteArray target;
    if (!fileName(arguments[2], target))
        return fail("copy names no target");
    m_files.insert(target, joined);
    return true;
}

bool JoinScriptInterpreter::remove(const QList<QByteArray> &arguments)
{
    QByteArray name;
    if (arguments.size() != 1 || !fileName(arguments[0], name))
        return fail("del takes one name");
    if (!needFile(name))
        return false;
    m_files.remove(name);
    return true;
}
