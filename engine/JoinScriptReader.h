#pragma once

#include "platform/OemCodePage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <variant>

// Reading back a join script that a cut wrote, so that its pieces can be joined here without
// the command interpreter. Nothing in a script is ever run: the reader takes exactly the lines
// a cut writes (JoinScript) for one file and its pieces, in the console's code page of the
// user's locale, and refuses anything else at the first line that differs.
namespace modMorlend {

// What a script joins: its pieces fileName.1 to fileName.pieceCount, in that order, into the
// file fileName beside them.
struct JoinSet
{
    QString fileName;
    qint64 pieceCount = 0;

    bool operator==(const JoinSet &) const = default;
};

// Why a script is refused: the line it stops at (from 1), and what is wrong there, as the end
// of a sentence that begins with the line ("line 3 appends ...").
struct ScriptFault
{
    qint64 line = 0;
    QString why;

    // "line 3 " and why.
    QString text() const;
    bool operator==(const ScriptFault &) const = default;
};

// Reads a script handed to it in blocks of any size, so that a script of millions of lines
// never lies in memory whole. Names must be names that a cut writes (NameRules): a script that
// names something else was not written by a cut, and whatever it means is not joined.
class JoinScriptReader
{
public:
    explicit JoinScriptReader(const OemCodePage &codePage);

    // The next bytes of the script. Once a fault is found the rest is ignored.
    void read(QByteArrayView bytes);
    // Whether a fault was found, so that the rest need not be read.
    bool refused() const { return m_fault.has_value(); }
    // After the last bytes: what the script joins, or why it is refused.
    std::variant<JoinSet, ScriptFault> finish();

private:
    enum class Expect
    {
        Header,
        Rename,
        // The line after piece m_set.pieceCount was joined: the next piece's, or the end.
        AppendOrEnd,
        // The line that deletes the piece just appended.
        DeletePiece,
        // Nothing: the script has deleted itself.
        Nothing,
    };

    // A piece's line as the bytes before its number and after it, the same for every piece:
    // a script of a million pieces is read without building each line anew.
    struct AroundNumber
    {
        QByteArray before;
        QByteArray after;

        // Parts of the lines of pieces 2 and 3 of a set.
        static AroundNumber of(const QString &two, const QString &three,
                               const OemCodePage &codePage);
        // The line of piece index, written into line.
        void line(qint64 index, QByteArray &line) const;
    };

    void readLine(QByteArrayView line);
    std::optional<QString> faultOf(QByteArrayView line);
    // Takes a piece's line, or the last, that has exactly the bytes a cut writes next.
    bool takesAsWritten(QByteArrayView line);
    std::optional<QString> faultOfRename(const QString &text);
    std::optional<QString> faultOfAppendOrEnd(const QString &text);
    std::optional<QString> faultOfDelete(const QString &text);
    QString otherBytes() const;
    // The next piece's line, or the end; the line that deletes the piece just appended.
    void expectAppendOrEnd();
    void expectDelete();

    OemCodePage m_codePage;
    Expect m_expect = Expect::Header;
    JoinSet m_set;
    // The pieces' lines, the bytes of the lines a cut writes next (the next piece's append line
    // and the delete line of the one just appended), and of its last.
    AroundNumber m_appendLines;
    AroundNumber m_deleteLines;
    QByteArray m_nextAppend;
    QByteArray m_nextDelete;
    QByteArray m_lastLine;
    // The line being gathered from the blocks, and how many came before it.
    QByteArray m_line;
    qint64 m_lines = 0;
    // The last complete line ended in CR LF.
    bool m_lineEndSeen = false;
    std::optional<ScriptFault> m_fault;
};

// The whole script at once.
std::variant<JoinSet, ScriptFault> readJoinScript(QByteArrayView script,
                                                  const OemCodePage &codePage);

} // namespace modMorlend
