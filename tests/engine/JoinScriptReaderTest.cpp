#include "engine/JoinScriptReader.h"

#include "engine/JoinScript.h"
#include "engine/NameRules.h"
#include "platform/OemCodePage.h"
#include "tests/engine/EngineFixture.h"
#include "tests/engine/JoinScriptInterpreter.h"
#include "tests/support/ExampleScript.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QLocale>

#include <gtest/gtest.h>
#include <random>

namespace modMorlend {

void PrintTo(const JoinSet &set, std::ostream *out)
{
    *out << set.fileName.toStdString() << " in " << set.pieceCount << " pieces";
}

void PrintTo(const ScriptFault &fault, std::ostream *out)
{
    *out << '"' << fault.text().toStdString() << '"';
}

} // namespace modMorlend

using namespace modMorlend;

namespace {

class JoinScriptReading : public EngineFixture
{
};

// What the reader makes of script, read at once and read a byte at a time: the two must agree.
std::variant<JoinSet, ScriptFault> readBothWays(const QByteArray &script, const OemCodePage &page)
{
    const std::variant<JoinSet, ScriptFault> whole = readJoinScript(script, page);
    JoinScriptReader reader(page);
    for (const char byte : script)
        reader.read(QByteArrayView(&byte, 1));
    EXPECT_EQ(reader.finish(), whole) << script.toStdString();
    return whole;
}

// Every script a cut writes, of one piece and of several (ten and more, whose numbers sort
// differently as text), with names in the locales' own code pages and with the characters
// the script quotes or doubles, reads back to the name it joins into and its pieces' count.
TEST_F(JoinScriptReading, ReadsBackEveryScriptACutWrites)
{
    struct Case
    {
        const char *locale;
        QString name;
        qint64 length;
        const char *size;
        qint64 pieces;
    };
    const Case cases[] = {
        {"en_US", "clip.avi", 3500000, "1 457 664", 3},
        {"en_US", "one piece.bin", 100, "1 457 664", 1},
        {"en_US", "exact.bin", 300, "100", 3},
        {"en_US", "twelve.bin", 1200, "100", 12},
        {"en_US", "100% & ^done! (1).avi", 2500, "1000", 3},
        {"de_DE", "Größe für Übersee.dat", 5000, "2000", 3},
        {"ru_RU", "Отчёт за год.doc", 5000, "2000", 3},
        {"pl_PL", "zażółć gęślą jaźń.avi", 3000, "1000", 3},
        // Second bytes of 0x7C and 0x5C, a bar and a backslash on their own.
        {"ja_JP", "ポスター表.avi", 3000, "1000", 3},
        {"ar_EG", "تقرير.avi", 3000, "1000", 3},
        {"vi_VN", "Cà Mau Sơn La.avi", 3000, "1000", 3},
        // Letters and combining marks after them, which 1258 writes as they are and the joining
        // machine reads as they are, never joined into one character.
        {"vi_VN", "Vi\u00ea\u0323t a\u0300.avi", 3000, "1000", 3},
        {"zh_TW", "功課報告.doc", 3000, "1000", 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const ScopedLocale scoped {QLocale(c.locale)};
        const QString folder = QString("%1-%2").arg(c.locale).arg(&c - cases);
        QDir(dir.path()).mkdir(folder);
        choose(makeSource(folder + '/' + c.name, c.length), c.size);
        writeToFolder(path(folder + "/out"));
        cutFile();
        ASSERT_TRUE(prompter.shown().isEmpty()) << prompter.last().text.toStdString();

        const QByteArray script = TestFiles::read(path(folder + "/out/" + c.name + ".bat"));
        EXPECT_EQ(readBothWays(script, OemCodePage::forLocale(QLocale())),
                  (std::variant<JoinSet, ScriptFault>(JoinSet {c.name, c.pieces})));
    }
}

// Anything a cut does not write is refused at the line where it differs, saying why.
TEST(JoinScriptReader, RefusesAnyOtherScriptNamingTheLineAndWhy)
{
    const QByteArray head = "@echo off\r\nren \"clip.avi.1\" \"clip.avi\"\r\n";
    const QByteArray piece2 = "copy /b \"clip.avi\"+\"clip.avi.2\" \"clip.avi\"\r\n"
                              "del \"clip.avi.2\"\r\n";
    const QByteArray end = "del \"clip.avi.bat\"";
    struct Case
    {
        QByteArray script;
        qint64 line;
        QString why;
        int codePage = 437;
    };
    const Case cases[] = {
        {"", 0, "the file is empty"},
        {"@ECHO OFF\r\n" + head.mid(11) + end, 1,
         "is not \"@echo off\", the first line of every join script"},
        {QByteArray(head).replace("\r\n", "\n") + end, 1,
         "ends in a line feed alone, where a join script ends its lines in CR LF"},
        {"@echo off\r\nren \"clip.avi.1\"\r\"clip.avi\"\r\n" + end, 2,
         "holds a carriage return that ends no line"},
        {QByteArray(5000, 'x'), 1, "is longer than any line of a join script"},
        // Incomplete sets, as a stopped cut leaves them.
        {"@echo off\r\n", 1,
         "is the last: the script names no piece, as a cut that stopped before its first piece"
         " leaves it"},
        {head + piece2, 4,
         "is the last, and the line by which the script deletes itself (del \"clip.avi.bat\") is"
         " missing: the set is incomplete, as a cut that was stopped leaves it"},
        {head + piece2.left(piece2.indexOf('\n') + 1), 3,
         "is the last, and the line by which the script deletes itself (del \"clip.avi.bat\") is"
         " missing: the set is incomplete, as a cut that was stopped leaves it"},
        {ExampleScript + "\r\n", 7,
         "ends in a line end, which a cut never writes after the last line"},
        {ExampleScript + "\r\ndel \"clip.avi.3\"", 8,
         "follows the line by which the script deletes itself, the last of a join script"},
        // Pieces out of order, twice, or not of the set.
        {head + "copy /b \"clip.avi\"+\"clip.avi.3\" \"clip.avi\"\r\ndel \"clip.avi.3\"\r\n" + end,
         3, "appends clip.avi.3 where clip.avi.2 comes next: the pieces are out of order"},
        {head + piece2 + piece2 + end, 5,
         "appends clip.avi.2 where clip.avi.3 comes next: the pieces are out of order"},
        {head + "copy /b \"clip.avi\"+\"other.2\" \"clip.avi\"\r\n", 3,
         "appends other.2, which is no piece of clip.avi"},
        {head + "copy /b \"other\"+\"clip.avi.2\" \"other\"\r\n", 3,
         "appends to other, where the pieces join into clip.avi"},
        {head + "copy /b \"clip.avi\"+\"clip.avi.2\" \"clip.avi\"\r\ndel \"clip.avi.3\"\r\n", 4,
         "is not the line that deletes clip.avi.2, the piece the line before appended"},
        {head + "del \"clip.avi.2\"\r\n" + end, 3,
         "is not the line that appends clip.avi.2 or the one by which the script deletes itself"
         " (del \"clip.avi.bat\")"},
        {"@echo off\r\nren \"clip.avi.2\" \"clip.avi\"\r\n" + end, 2,
         "renames clip.avi.2 to clip.avi, where a join script renames clip.avi.1"},
        {"@echo off\r\ndel \"clip.avi.bat\"", 2,
         "is not the line that renames the first piece to the name the pieces join into (ren"
         " \"NAME.1\" \"NAME\"), the second of every join script"},
        // Names with a folder or a drive, which the reader never follows.
        {"@echo off\r\nren \"..\\clip.avi.1\" \"..\\clip.avi\"\r\n" + end, 2,
         "names ..\\clip.avi, which has a folder or a drive in it: a join script names only files"
         " beside it"},
        {head + "copy /b \"clip.avi\"+\"/etc/clip.avi.2\" \"clip.avi\"\r\n", 3,
         "names /etc/clip.avi.2, which has a folder or a drive in it: a join script names only"
         " files beside it"},
        {"@echo off\r\nren \"C:clip.avi.1\" \"C:clip.avi\"\r\n" + end, 2,
         "names C:clip.avi, which has a folder or a drive in it: a join script names only files"
         " beside it"},
        {"@echo off\r\nren \".1\" \"\"\r\n" + end, 2, "names no file (\"\")"},
        // Names the cut refuses to write, so that the two always agree.
        {"@echo off\r\nren \"con.avi.1\" \"con.avi\"\r\ndel \"con.avi.bat\"", 2,
         "names con.avi, a name a cut never gives a file: the joining machine keeps it for a"
         " device"},
        {"@echo off\r\nren \"a*.1\" \"a*\"\r\ndel \"a*.bat\"", 2,
         "names a*, a name a cut never gives a file: it holds one of the characters * ? < > |,"
         " which the joining machine reads as a wildcard or a redirection"},
        {"@echo off\r\nren \"a..1\" \"a.\"\r\ndel \"a..bat\"", 2,
         "names a., a name a cut never gives a file: it ends in a blank or a dot, which the"
         " joining machine drops"},
        {"@echo off\r\nren \"a\tb.1\" \"a\tb\"\r\ndel \"a\tb.bat\"", 2,
         "names a\tb, a name a cut never gives a file: it holds a control character"},
        {"@echo off\r\nren \"\x83\".1\" \"\x83\"\"\r\ndel \"x.bat\"", 2,
         "holds bytes that the console's code page 932 reads as no character", 932},
        // What the interpreter would read otherwise, or is no line of a cut's.
        {"@echo off\r\nren \"100%.1\" \"100%\"\r\ndel \"100%.bat\"", 2,
         "holds a single % in a name, which the command interpreter reads as the start of a"
         " variable: a cut writes a % as %%"},
        {"@echo off\r\nren \"clip.avi.1\" \"clip.avi\r\n" + end, 2,
         "is not laid out as a cut writes its lines"},
        {"@echo off\r\nren  \"clip.avi.1\" \"clip.avi\"\r\n" + end, 2,
         "is not laid out as a cut writes its lines"},
        {"@echo off\r\nren \"clip.avi.1\" \"clip.avi\" \r\n" + end, 2,
         "holds more than a cut writes on a line"},
        {head + "echo \"clip.avi.2\"\r\n", 3,
         "is none of the commands of a join script (ren, copy /b, del)"},
        {head + "COPY /B \"clip.avi\"+\"clip.avi.2\" \"clip.avi\"\r\n", 3,
         "is none of the commands of a join script (ren, copy /b, del)"},
        {head + "copy /b \"clip.avi\"+\"clip.avi.2\" \"clip.avi\" & del *\r\n", 3,
         "holds more than a cut writes on a line"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script.toStdString());
        EXPECT_EQ(readBothWays(c.script, OemCodePage(c.codePage)),
                  (std::variant<JoinSet, ScriptFault>(ScriptFault {c.line, c.why})));
    }
}

// The script of a cut of fileName into count pieces, as the cut writes it.
QByteArray scriptOf(const QString &fileName, qint64 count, const OemCodePage &page)
{
    QStringList lines {headerLine(), renameLine(fileName)};
    for (qint64 index = 2; index <= count; ++index) {
        lines << appendLine(fileName, pieceName(fileName, index))
              << deleteLine(pieceName(fileName, index));
    }
    lines << deleteLine(scriptName(fileName));
    return page.encode(lines.join(LineEnd));
}

// A few random changes to script: bytes changed, put in or left out (the script's own
// characters more often than others), lines left out, doubled or swapped, the end cut off.
QByteArray mutated(QByteArray script, std::mt19937 &random)
{
    const QByteArray telling = "\"%+ \r\n.\\/:*?&^|<>0123456789abcdelnoprCOPY";
    const auto anyByte = [&] {
        return random() % 2 ? telling[qsizetype(random() % telling.size())] : char(random() % 256);
    };
    const auto at = [&](qsizetype size) {
        return qsizetype(random() % quint32(size + 1));
    };
    for (int change = 1 + int(random() % 3); change > 0; --change) {
        QList<QByteArray> lines = script.split('\n');
        const qsizetype line = qsizetype(random() % quint32(lines.size()));
        switch (random() % 7) {
        case 0:
            if (!script.isEmpty())
                script[at(script.size() - 1)] = anyByte();
            break;
        case 1:
            script.insert(at(script.size()), anyByte());
            break;
        case 2:
            if (!script.isEmpty())
                script.remove(at(script.size() - 1), 1);
            break;
        case 3:
            lines.removeAt(line);
            script = lines.join('\n');
            break;
        case 4:
            lines.insert(line, lines[line]);
            script = lines.join('\n');
            break;
        case 5:
            lines.swapItemsAt(line, qsizetype(random() % quint32(lines.size())));
            script = lines.join('\n');
            break;
        case 6:
            script.truncate(at(script.size()));
            break;
        }
    }
    return script;
}

// Reads script in random blocks and at once, which must agree; when it is accepted, has the
// interpreter of the tests run it in a folder of the pieces it names, which must leave the
// file it names, made of those pieces in order, and nothing else.
void expectMeansWhatItReads(const QByteArray &script, const OemCodePage &page, std::mt19937 &random)
{
    const std::variant<JoinSet, ScriptFault> read = readJoinScript(script, page);
    JoinScriptReader inBlocks(page);
    for (qsizetype at = 0; at < script.size();) {
        const qsizetype block = 1 + qsizetype(random() % 64);
        inBlocks.read(QByteArrayView(script).sliced(at, std::min(block, script.size() - at)));
        at += block;
    }
    ASSERT_EQ(inBlocks.finish(), read) << script.toStdString();
    const JoinSet *set = std::get_if<JoinSet>(&read);
    if (!set)
        return;
    JoinScriptInterpreter folder;
    QByteArray whole;
    for (qint64 index = 1; index <= set->pieceCount; ++index) {
        const QByteArray content = QByteArray::number(index) + '|';
        folder.addFile(page.encode(pieceName(set->fileName, index)), content);
        whole += content;
    }
    const QByteArray scriptFile = page.encode(scriptName(set->fileName));
    folder.addFile(scriptFile, script);
    ASSERT_TRUE(folder.run(scriptFile))
        << folder.failure().toStdString() << " in the accepted script " << script.toStdString();
    EXPECT_EQ(folder.files(), (QMap<QByteArray, QByteArray> {{page.encode(set->fileName), whole}}))
        << script.toStdString();
}

// Good scripts of random names and lengths in several code pages, thousands of random changes
// to them and random bytes: no script is accepted that joins anything but what the reader reads
// from it, and nothing crashes. The seed is fixed, so that a failure can be run again.
TEST(JoinScriptReader, AcceptsNoScriptThatJoinsOtherwiseThanItReads)
{
    std::mt19937 random(20261212);
    const std::vector<OemCodePage> pages {OemCodePage(437), OemCodePage(850), OemCodePage(866),
                                          OemCodePage(932), OemCodePage(1258)};
    const QString alphabet = "abcZ09 .%&^!()+-_~',;=@[]{}éüжЁポソ表àơệ";
    int accepted = 0;
    for (int round = 0; round < 2000; ++round) {
        const OemCodePage &page = pages[random() % pages.size()];
        QString name;
        while (name.isEmpty() || nameFaultOf(name, page) != NameFault::None) {
            name.clear();
            for (int length = 1 + int(random() % 10); length > 0; --length)
                name += alphabet[qsizetype(random() % quint32(alphabet.size()))];
        }
        const qint64 count = 1 + qint64(random() % 12);
        const QByteArray script = scriptOf(name, count, page);
        ASSERT_EQ(readJoinScript(script, page),
                  (std::variant<JoinSet, ScriptFault>(JoinSet {name, count})))
            << script.toStdString();
        for (int mutation = 0; mutation < 12; ++mutation) {
            const QByteArray changed = mutated(script, random);
            expectMeansWhatItReads(changed, page, random);
            accepted += std::holds_alternative<JoinSet>(readJoinScript(changed, page));
        }
        QByteArray noise = random() % 2 ? QByteArray("@echo off\r\n") : QByteArray();
        for (int length = int(random() % 200); length > 0; --length)
            noise += char(random() % 256);
        expectMeansWhatItReads(noise, page, random);
    }
    // Changes that keep a script as a cut writes it (a line of a one-piece script swapped with
    // itself, a byte put back as it was) are accepted too, so the check above ran on some.
    EXPECT_GT(accepted, 0);
}

} // namespace
