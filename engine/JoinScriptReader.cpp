#include "engine/JoinScriptReader.h"

#include "engine/JoinScript.h"
#include "engine/NameRules.h"
#include "engine/SetNames.h"

#include <QStringList>

#include <charconv>
#include <iterator>

namespace modMorlend {

namespace {

// Far more than the longest line a cut writes (three names of 255 characters, each written in
// at most two bytes, a "%" as two): a file with a longer line is no join script, and reading
// it stops there instead of gathering it in memory.
constexpr qsizetype MaxLineLength = 4096;

// A line as the reader takes it apart: a command and its quoted names.
struct Command
{
    enum class Kind
    {
        Rename,
        Append,
        Delete,
    };
    Kind kind = Kind::Delete;
    QStringList names;
};

// Takes a quoted name from the start of text, reading "%%" as the "%" it stands for. None, with
// the fault set, when text does not start with one.
std::optional<QString> takeQuotedName(QStringView &text, QString &fault)
{
    const qsizetype end = text.startsWith(u'"') ? text.indexOf(u'"', 1) : -1;
    if (end < 0) {
        fault = QStringLiteral("is not laid out as a cut writes its lines");
        return std::nullopt;
    }
    const QStringView quoted = text.mid(1, end - 1);
    text = text.mid(end + 1);
    QString name;
    for (qsizetype at = 0; at < quoted.size(); ++at) {
        if (quoted[at] != u'%') {
            name += quoted[at];
        } else if (at + 1 < quoted.size() && quoted[at + 1] == u'%') {
            name += u'%';
            ++at;
        } else {
            // The interpreter would read it as the start of a variable and put something else
            // in its place.
            fault = QStringLiteral("holds a single % in a name, which the command interpreter"
                                   " reads as the start of a variable: a cut writes a % as %%");
            return std::nullopt;
        }
    }
    return name;
}

// The command on a line, with exactly the blanks and quotes a cut writes; none, with the
// fault set, for any other line.
std::optional<Command> parseCommand(QStringView text, QString &fault)
{
    struct Form
    {
        QStringView start;
        Command::Kind kind;
        // What stands between the names.
        QStringList between;
    };
    static const Form forms[] = {
        {u"ren ", Command::Kind::Rename, {QStringLiteral(" ")}},
        {u"copy /b ", Command::Kind::Append, {QStringLiteral("+"), QStringLiteral(" ")}},
        {u"del ", Command::Kind::Delete, {}},
    };
    for (const Form &form : forms) {
        if (!text.startsWith(form.start))
            continue;
        text = text.mid(form.start.size());
        Command command {form.kind, {}};
        for (qsizetype name = 0;; ++name) {
            const std::optional<QString> taken = takeQuotedName(text, fault);
            if (!taken)
                return std::nullopt;
            command.names << *taken;
            if (name == form.between.size())
                break;
            if (!text.startsWith(form.between[name])) {
                fault = QStringLiteral("is not laid out as a cut writes its lines");
                return std::nullopt;
            }
            text = text.mid(form.between[name].size());
        }
        if (!text.isEmpty()) {
            fault = QStringLiteral("holds more than a cut writes on a line");
            return std::nullopt;
        }
        return command;
    }
    fault = QStringLiteral("is none of the commands of a join script (ren, copy /b, del)");
    return std::nullopt;
}

// What is wrong with a name on its own, whatever the line: none, or a name outside the
// script's folder, which the reader never follows.
std::optional<QString> faultOfPlace(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("names no file (\"\")");
    if (name.contains(u'\\') || name.contains(u'/') || name.contains(u':')) {
        return QStringLiteral("names %1, which has a folder or a drive in it: a join script names"
                              " only files beside it")
            .arg(name);
    }
    return std::nullopt;
}

// Why a cut never writes a script that joins into fileName; none when it may.
std::optional<QString> faultOfJoinedName(const QString &fileName, const OemCodePage &codePage)
{
    const QString names
        = QStringLiteral("names %1, a name a cut never gives a file: ").arg(fileName);
    switch (nameFaultOf(fileName, codePage)) {
    case NameFault::None:
        return std::nullopt;
    case NameFault::BreaksOutOfQuotes:
        return names + QStringLiteral("it holds a control character");
    case NameFault::ReservedCharacter:
        return names
            + QStringLiteral("it holds one of the characters * ? < > |, which the joining machine"
                             " reads as a wildcard or a redirection");
    case NameFault::EndsInBlankOrDot:
        return names
            + QStringLiteral("it ends in a blank or a dot, which the joining machine drops");
    case NameFault::DeviceName:
        return names + QStringLiteral("the joining machine keeps it for a device");
    case NameFault::NotInCodePage:
        break;
    }
    return names
        + QStringLiteral("the console's code page %1, in which the script was read, has no place"
                         " of its own for some of its characters")
              .arg(codePage.number());
}

} // namespace

JoinScriptReader::AroundNumber JoinScriptReader::AroundNumber::of(const QString &two,
                                                                  const QString &three,
                                                                  const OemCodePage &codePage)
{
    // The lines of pieces 2 and 3 differ in that one digit alone.
    qsizetype digit = 0;
    while (two[digit] == three[digit])
        ++digit;
    return {codePage.encode(QStringView(two).first(digit)),
            codePage.encode(QStringView(two).sliced(digit + 1))};
}

void JoinScriptReader::AroundNumber::line(qint64 index, QByteArray &line) const
{
    // Written over the last line in its buffer, so that no line takes memory of its own.
    char digits[24];
    const std::to_chars_result number = std::to_chars(std::begin(digits), std::end(digits), index);
    line.truncate(0);
    line.append(before).append(digits, number.ptr - digits).append(after);
}

QString ScriptFault::text() const
{
    return line == 0 ? why : QStringLiteral("line %1 ").arg(line) + why;
}

JoinScriptReader::JoinScriptReader(const OemCodePage &codePage)
    : m_codePage(codePage)
{
}

void JoinScriptReader::read(QByteArrayView bytes)
{
    while (!m_fault && !bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf('\n');
        const QByteArrayView part = end < 0 ? bytes : bytes.first(end);
        if (m_line.size() + part.size() > MaxLineLength) {
            m_fault = {m_lines + 1, QStringLiteral("is longer than any line of a join script")};
            return;
        }
        m_line += part;
        if (end < 0)
            return;
        bytes = bytes.sliced(end + 1);
        if (!m_line.endsWith('\r')) {
            m_fault = {m_lines + 1,
                       QStringLiteral("ends in a line feed alone, where a join script ends its"
                                      " lines in CR LF")};
            return;
        }
        m_line.chop(1);
        readLine(m_line);
        m_line.clear();
        m_lineEndSeen = true;
    }
}

std::variant<JoinSet, ScriptFault> JoinScriptReader::finish()
{
    // The last line has no line end after it.
    if (!m_fault && !m_line.isEmpty()) {
        readLine(m_line);
        m_line.clear();
        m_lineEndSeen = false;
    }
    if (m_fault)
        return *m_fault;
    if (m_lines == 0)
        return ScriptFault {0, QStringLiteral("the file is empty")};
    if (m_expect == Expect::Nothing && m_lineEndSeen) {
        return ScriptFault {m_lines,
                            QStringLiteral("ends in a line end, which a cut never writes after"
                                           " the last line")};
    }
    if (m_expect == Expect::Rename) {
        return ScriptFault {m_lines,
                            QStringLiteral("is the last: the script names no piece, as a cut"
                                           " that stopped before its first piece leaves it")};
    }
    if (m_expect != Expect::Nothing) {
        return ScriptFault {m_lines,
                            QStringLiteral("is the last, and the line by which the script deletes"
                                           " itself (del \"%1\") is missing: the set is"
                                           " incomplete, as a cut that was stopped leaves it")
                                .arg(scriptName(m_set.fileName))};
    }
    return m_set;
}

void JoinScriptReader::readLine(QByteArrayView line)
{
    ++m_lines;
    if (const std::optional<QString> fault = faultOf(line))
        m_fault = {m_lines, *fault};
}

std::optional<QString> JoinScriptReader::faultOf(QByteArrayView line)
{
    if (m_expect == Expect::Nothing) {
        return QStringLiteral("follows the line by which the script deletes itself, the last of"
                              " a join script");
    }
    if (takesAsWritten(line))
        return std::nullopt;
    if (line.contains('\r'))
        return QStringLiteral("holds a carriage return that ends no line");
    const std::optional<QString> text = m_codePage.decode(line);
    if (!text) {
        return QStringLiteral("holds bytes that the console's code page %1 reads as no character")
            .arg(m_codePage.number());
    }
    std::optional<QString> fault;
    switch (m_expect) {
    case Expect::Header:
        if (*text != headerLine())
            return QStringLiteral("is not \"@echo off\", the first line of every join script");
        m_expect = Expect::Rename;
        break;
    case Expect::Rename:
        fault = faultOfRename(*text);
        break;
    case Expect::AppendOrEnd:
        fault = faultOfAppendOrEnd(*text);
        break;
    case Expect::DeletePiece:
        fault = faultOfDelete(*text);
        break;
    case Expect::Nothing:
        break;
    }
    if (fault)
        return fault;
    if (m_codePage.encode(*text) != line)
        return otherBytes();
    return std::nullopt;
}

bool JoinScriptReader::takesAsWritten(QByteArrayView line)
{
    // The lines of the pieces are taken when they are the very bytes a cut writes there; only
    // another line is read as text, to say what is wrong with it.
    if (m_expect == Expect::AppendOrEnd && line == m_nextAppend) {
        ++m_set.pieceCount;
        expectDelete();
        return true;
    }
    if (m_expect == Expect::AppendOrEnd && line == m_lastLine) {
        m_expect = Expect::Nothing;
        return true;
    }
    if (m_expect == Expect::DeletePiece && line == m_nextDelete) {
        expectAppendOrEnd();
        return true;
    }
    return false;
}

QString JoinScriptReader::otherBytes() const
{
    // The text is a cut's line, but not its bytes. A page may read a character from more than
    // one sequence (932 has some twice over, 1258 a letter and a combining mark), and a cut
    // writes the one the joining machine reads back as that very character.
    return QStringLiteral("writes a name in other bytes than a cut writes in the console's code"
                          " page %1")
        .arg(m_codePage.number());
}

void JoinScriptReader::expectAppendOrEnd()
{
    m_expect = Expect::AppendOrEnd;
    m_appendLines.line(m_set.pieceCount + 1, m_nextAppend);
}

void JoinScriptReader::expectDelete()
{
    m_expect = Expect::DeletePiece;
    m_deleteLines.line(m_set.pieceCount, m_nextDelete);
}

std::optional<QString> JoinScriptReader::faultOfRename(const QString &text)
{
    QString fault;
    const std::optional<Command> command = parseCommand(text, fault);
    if (!command)
        return fault;
    if (command->kind != Command::Kind::Rename) {
        return QStringLiteral("is not the line that renames the first piece to the name the"
                              " pieces join into (ren \"NAME.1\" \"NAME\"), the second of every"
                              " join script");
    }
    const QString &fileName = command->names[1];
    if (std::optional<QString> f = faultOfPlace(fileName))
        return f;
    if (std::optional<QString> f = faultOfJoinedName(fileName, m_codePage))
        return f;
    if (std::optional<QString> f = faultOfPlace(command->names[0]))
        return f;
    if (command->names[0] != pieceName(fileName, 1)) {
        return QStringLiteral("renames %1 to %2, where a join script renames %3")
            .arg(command->names[0], fileName, pieceName(fileName, 1));
    }
    m_set = {fileName, 1};
    m_appendLines = AroundNumber::of(appendLine(fileName, pieceName(fileName, 2)),
                                     appendLine(fileName, pieceName(fileName, 3)), m_codePage);
    m_deleteLines = AroundNumber::of(deleteLine(pieceName(fileName, 2)),
                                     deleteLine(pieceName(fileName, 3)), m_codePage);
    m_lastLine = m_codePage.encode(deleteLine(scriptName(fileName)));
    expectAppendOrEnd();
    return std::nullopt;
}

std::optional<QString> JoinScriptReader::faultOfAppendOrEnd(const QString &text)
{
    const QString &fileName = m_set.fileName;
    const QString next = pieceName(fileName, m_set.pieceCount + 1);
    if (text == appendLine(fileName, next) || text == deleteLine(scriptName(fileName)))
        return otherBytes();
    QString fault;
    const std::optional<Command> command = parseCommand(text, fault);
    if (!command)
        return fault;
    for (const QString &name : command->names) {
        if (std::optional<QString> f = faultOfPlace(name))
            return f;
    }
    const QString expected = QStringLiteral("the line that appends %1 or the one by which the"
                                            " script deletes itself (del \"%2\")")
                                 .arg(next, scriptName(fileName));
    if (command->kind != Command::Kind::Append)
        return QStringLiteral("is not ") + expected;
    const QString &piece = command->names[1];
    if (command->names[0] != fileName || command->names[2] != fileName) {
        return QStringLiteral("appends to %1, where the pieces join into %2")
            .arg(command->names[0] != fileName ? command->names[0] : command->names[2], fileName);
    }
    if (setNameOf(piece, fileName) == SetName::Piece) {
        return QStringLiteral("appends %1 where %2 comes next: the pieces are out of order")
            .arg(piece, next);
    }
    return QStringLiteral("appends %1, which is no piece of %2").arg(piece, fileName);
}

std::optional<QString> JoinScriptReader::faultOfDelete(const QString &text)
{
    const QString appended = pieceName(m_set.fileName, m_set.pieceCount);
    if (text == deleteLine(appended))
        return otherBytes();
    QString fault;
    const std::optional<Command> command = parseCommand(text, fault);
    if (!command)
        return fault;
    if (std::optional<QString> f = faultOfPlace(command->names.last()))
        return f;
    return QStringLiteral("is not the line that deletes %1, the piece the line before appended")
        .arg(appended);
}

std::variant<JoinSet, ScriptFault> readJoinScript(QByteArrayView script,
                                                  const OemCodePage &codePage)
{
    JoinScriptReader reader(codePage);
    reader.read(script);
    return reader.finish();
}

} // namespace modMorlend
