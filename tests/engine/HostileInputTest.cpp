#include "tests/engine/EngineFixture.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <cctype>
#include <functional>
#include <string>

namespace {

// One case's own folder: its source, its destination and its floppy disk.
struct CaseFolder
{
    QString source;
    QString out;
    QString floppy;
};

using Expectation = std::function<QString(const CaseFolder &)>;

// The run completes, and its pieces join back into the source.
const Expectation Completes;

Expectation says(const QString &message)
{
    return [message](const CaseFolder &) {
        return message;
    };
}

Expectation fails(int number, const char *description)
{
    return says(generalError(number, description));
}

QString notASize(const char *quoted)
{
    return QString("The size \"%1\" is not understood.\r\nType the bytes of a piece, or a number "
                   "and a unit, as in 1 457 664, 700K, 25MB or 1.5GiB (K, M and G count 1024s, "
                   "KB, MB and GB 1000s).")
        .arg(quoted);
}

QString tooLarge(const QString &quoted)
{
    return QString("The size \"%1\" is too large: a piece has at most 2,147,483,647 bytes.")
        .arg(quoted);
}

const QString QuoteOrControl = "The join script cannot name the file: its name holds a double "
                               "quote or a control character, which would break the script's "
                               "commands.\r\nRename the file and try again.";
const QString Reserved = "The join script cannot name the file: its name holds one of the "
                         "characters \\ / : * ? < > |, which the joining machine reads as a "
                         "wildcard or a separator, or allows in no name.\r\nRename the file and "
                         "try again.";
const QString BlankOrDotAtTheEnd = "The join script cannot name the file: its name ends in a "
                                   "blank or a dot, which the joining machine drops from a "
                                   "name.\r\nRename the file and try again.";
const QString Device = "The join script cannot name the file: the joining machine keeps its "
                       "name for a device (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9), "
                       "whatever follows its first dot.\r\nRename the file and try again.";

struct Hostile
{
    const char *what;
    const char *sizeText;
    QString sourceName;
    qint64 length;
    std::function<void(EngineFixture &, const CaseFolder &)> arrange;
    Expectation expected;
    // The destination holds a file of the user's at one of the set's names, and the user lets
    // the run replace it.
    bool asksToReplace = false;
};

void toFloppy(EngineFixture &t, const CaseFolder &run, bool clear)
{
    QDir().mkpath(run.floppy);
    t.platform.setFloppyMountPoint(run.floppy);
    t.writeToFloppy(clear);
}

void rewrite(const CaseFolder &run, qint64 length)
{
    TestFiles::write(run.source, TestFiles::pattern(length + 13).mid(13));
}

// A file of someone's beside the source, which no run may touch, and the place of an output
// name in the destination folder (or on the floppy).
QString precious(const CaseFolder &run)
{
    const QString file = QFileInfo(run.source).path() + "/precious.doc";
    TestFiles::write(file, "precious");
    return file;
}

QString outputName(const QString &folder, const QString &name)
{
    QDir().mkpath(folder);
    return folder + '/' + name;
}

Expectation folderInTheWay(const QString &name)
{
    return [name](const CaseFolder &run) {
        return "The file " + run.out + '/' + name
            + " cannot be written: a folder has its name.\r\nRemove or rename the folder, or "
              "write somewhere else.";
    };
}

const Hostile cases[] = {
    {"an empty size", "", "clip.avi", 3500000, {}, says(notASize(""))},
    {"a size of blanks only", "   ", "clip.avi", 3500000, {}, says(notASize(""))},
    {"a negative size", "-1", "clip.avi", 3500000, {}, says("Files size is negative.")},
    {"a size beyond 32 bits", "2147483648", "clip.avi", 3500000, {}, says(tooLarge("2147483648"))},
    {"an exponent", "1e3", "clip.avi", 3500000, {}, says(notASize("1e3"))},
    {"a hexadecimal size", "0x10", "clip.avi", 3500000, {}, says(notASize("0x10"))},
    {"full-width digits", "１２３", "clip.avi", 3500000, {}, says(notASize("１２３"))},
    {"ten thousand digits",
     nullptr,
     "clip.avi",
     3500000,
     {},
     says(tooLarge(QString(39, u'9') + u'\u2026'))},
    {"a percent sign", "1 457 664", "100% sure.avi", 3500000, {}, Completes},
    {"a variable name", "1 457 664", "%PATH%.avi", 3500000, {}, Completes},
    {"an ampersand", "1 457 664", "a&b.avi", 3500000, {}, Completes},
    {"a caret", "1 457 664", "a^b.avi", 3500000, {}, Completes},
    {"an exclamation mark", "1 457 664", "wow!.avi", 3500000, {}, Completes},
    {"parentheses", "1 457 664", "(copy).avi", 3500000, {}, Completes},
    {"blanks", "1 457 664", "my  clip.avi", 3500000, {}, Completes},
    {"a letter of the code page", "1 457 664", "café.avi", 3500000, {}, Completes},
    {"letters beyond the code page",
     "1 457 664",
     "日本.avi",
     3500000,
     {},
     says("The join script cannot name the file 日本.avi: the console's code page 437 has no "
          "place for some of its characters.\r\nRename the file and try again.")},
    {"a double quote", "1 457 664", "say \"hi\".avi", 3500000, {}, says(QuoteOrControl)},
    {"a newline", "1 457 664", "two\nlines.avi", 3500000, {}, says(QuoteOrControl)},
    {"a star", "1 457 664", "a*b.avi", 3500000, {}, says(Reserved)},
    {"a question mark", "1 457 664", "a?b.avi", 3500000, {}, says(Reserved)},
    {"a less than sign", "1 457 664", "a<b.avi", 3500000, {}, says(Reserved)},
    {"a greater than sign", "1 457 664", "a>b.avi", 3500000, {}, says(Reserved)},
    {"a vertical bar", "1 457 664", "a|b.avi", 3500000, {}, says(Reserved)},
    {"a colon", "1 457 664", "a:b.avi", 3500000, {}, says(Reserved)},
    {"a backslash", "1 457 664", "a\\b.avi", 3500000, {}, says(Reserved)},
    {"a blank at the end", "1 457 664", "clip.avi ", 3500000, {}, says(BlankOrDotAtTheEnd)},
    {"a dot at the end", "1 457 664", "clip.", 3500000, {}, says(BlankOrDotAtTheEnd)},
    {"a device name", "1 457 664", "CON", 3500000, {}, says(Device)},
    {"a device name with an extension", "1 457 664", "con.avi", 3500000, {}, says(Device)},
    {"a numbered port", "1 457 664", "Lpt9.txt", 3500000, {}, says(Device)},
    {"a device name with two extensions", "1 457 664", "nul.tar.gz", 3500000, {}, says(Device)},
    {"a port numbered in superscript", "1 457 664", "COM\u00b9.avi", 3500000, {}, says(Device)},
    {"a name that begins like a device", "1 457 664", "CONSOLE.avi", 3500000, {}, Completes},
    {"a port numbered beyond nine", "1 457 664", "COM10.avi", 3500000, {}, Completes},
    {"a port numbered zero", "1 457 664", "LPT0.avi", 3500000, {}, Completes},
    {"a device name as the extension", "1 457 664", "clip.con", 3500000, {}, Completes},
    {"a source deleted after the estimate", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &, const CaseFolder &run) { QFile::remove(run.source); },
     fails(53, "File not found")},
    {"a source grown after the estimate", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &, const CaseFolder &run) { rewrite(run, 4500000); }, Completes},
    {"a source shrunk after the estimate", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &, const CaseFolder &run) { rewrite(run, 1000); }, Completes},
    {"a destination that is a file", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &, const CaseFolder &run) { TestFiles::write(run.out, "x"); },
     fails(58, "File already exists")},
    {"a destination inside a file", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &t, const CaseFolder &run) {
         TestFiles::write(run.out, "x");
         t.writeToFolder(run.out + "/inside");
     },
     fails(76, "Path not found")},
    {"a destination relative to wherever the program started", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &t, const CaseFolder &) { t.writeToFolder("out"); },
     says("The folder \"out\" is no whole path, so it does not say where the pieces would go."
          "\r\nType the folder's whole path, beginning with / (or with ~ for your home folder), "
          "or A: for the floppy.")},
    {"a piece name that links to the source", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &, const CaseFolder &run) {
         QDir().mkpath(run.out);
         QFile::link(run.source, run.out + "/clip.avi.3");
     },
     [](const CaseFolder &run) {
         return "The file " + run.out
             + "/clip.avi.3 is the file to cut under another name, and writing it would destroy "
               "the file.\r\nRemove it or choose another destination.";
     }},
    {"a link at a piece's name", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &, const CaseFolder &run) {
         QFile::link(precious(run), outputName(run.out, "clip.avi.2"));
     },
     Completes, true},
    {"a second name of another file at a piece's name", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &, const CaseFolder &run) {
         TestFiles::makeHardLink(precious(run), outputName(run.out, "clip.avi.2"));
     },
     Completes, true},
    {"a pipe at a piece's name", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &, const CaseFolder &run) {
         TestFiles::makePipe(outputName(run.out, "clip.avi.1"));
     },
     Completes, true},
    {"a socket at a piece's name", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &, const CaseFolder &run) {
         TestFiles::makeSocket(outputName(run.out, "clip.avi.3"));
     },
     Completes, true},
    {"a folder at a piece's name", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &, const CaseFolder &run) {
         QDir().mkpath(outputName(run.out, "clip.avi.2"));
     },
     folderInTheWay("clip.avi.2")},
    {"a folder at the script's name", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &, const CaseFolder &run) {
         QDir().mkpath(outputName(run.out, "clip.avi.bat"));
     },
     folderInTheWay("clip.avi.bat")},
    {"links at the names on the floppy", "1 457 664", "clip.avi", 100000,
     [](EngineFixture &t, const CaseFolder &run) {
         toFloppy(t, run, false);
         QFile::link(precious(run), outputName(run.floppy, "clip.avi.1"));
         QFile::link(precious(run), outputName(run.floppy, "clip.avi.bat"));
     },
     Completes, true},
    {"a link at the temporary script's name", "1 457 664", "clip.avi", 100000,
     [](EngineFixture &t, const CaseFolder &run) {
         toFloppy(t, run, false);
         QFile::link(precious(run), t.path("C/~join~clip.avi.tmp"));
     },
     Completes},
    {"a full disk", "1 457 664", "clip.avi", 3500000,
     [](EngineFixture &t, const CaseFolder &) { t.fileSizeLimit.emplace(1000000); },
     fails(61, "Disk full")},
    {"a clearing command that fails", "1 457 664", "clip.avi", 100000,
     [](EngineFixture &t, const CaseFolder &run) {
         toFloppy(t, run, true);
         t.useClearScript("exit 1");
     },
     Completes},
    {"a clearing command that hangs", "1 457 664", "clip.avi", 100000,
     [](EngineFixture &t, const CaseFolder &run) {
         toFloppy(t, run, true);
         t.useClearScript("sleep 30");
         t.platform.setClearTimeLimit(300);
     },
     says("Clearing the floppy did not end in time and was stopped. Nothing was written on this "
          "disk; check it and cut again.")},
};

void PrintTo(const Hostile &c, std::ostream *out)
{
    *out << c.what;
}

// The content of every file in a case's own folder: its source and the files beside it.
QMap<QString, QByteArray> digestsIn(const QString &folder)
{
    QMap<QString, QByteArray> digests;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::NoSymLinks)) {
        digests.insert(name,
                       QCryptographicHash::hash(TestFiles::read(folder + '/' + name),
                                                QCryptographicHash::Sha256));
    }
    return digests;
}

class HostileInput : public EngineFixture, public ::testing::WithParamInterface<Hostile>
{
protected:
    // The names' code page is 437 here, so that "é" fits and "日" does not.
    ScopedLocale english {ScopedLocale::english()};
};

TEST_P(HostileInput, LeavesEveryFileAsItWasWithAJoinableSetOrAClearMessage)
{
    const Hostile &c = GetParam();
    QDir(dir.path()).mkdir("case");
    const CaseFolder run {path("case/" + c.sourceName), path("case/out"), path("case/floppy")};
    TestFiles::write(run.source, TestFiles::pattern(c.length));
    choose(run.source, c.sizeText ? c.sizeText : QString(10000, '9'));
    writeToFolder(run.out);
    if (c.arrange)
        c.arrange(*this, run);
    const QMap<QString, QByteArray> before = digestsIn(path("case"));

    if (c.asksToReplace)
        prompter.answer(Prompter::Reply::Ok);
    if (c.expected)
        prompter.answer(Prompter::Reply::Ok);
    cutFile();

    EXPECT_EQ(digestsIn(path("case")), before) << "the source, or a file beside it, changed";
    QList<Prompter::Message> shown = prompter.shown();
    if (c.asksToReplace && !shown.isEmpty()) {
        EXPECT_EQ(shown.first().buttons, Prompter::Buttons::OkCancel);
        EXPECT_TRUE(
            shown.takeFirst().text.contains(" with the names of the pieces or the join script"));
    }
    if (c.expected) {
        EXPECT_EQ(shown, QList({errorMessage(c.expected(run))}));
    } else {
        EXPECT_TRUE(shown.isEmpty());
        expectJoinsBack({view.intoFolder ? run.out : run.floppy}, run.source);
    }
}

// "a full disk" becomes AFullDisk.
std::string testName(const char *what)
{
    std::string name;
    bool startOfWord = true;
    for (const char *c = what; *c; ++c) {
        if (!std::isalnum(static_cast<unsigned char>(*c))) {
            startOfWord = true;
            continue;
        }
        name += startOfWord ? char(std::toupper(static_cast<unsigned char>(*c))) : *c;
        startOfWord = false;
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Table, HostileInput, ::testing::ValuesIn(cases),
                         [](const auto &info) { return testName(info.param.what); });

} // namespace
