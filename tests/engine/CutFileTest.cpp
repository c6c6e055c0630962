#include "tests/engine/EngineFixture.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <unistd.h>

namespace {

class CutFile : public EngineFixture
{
protected:
    QByteArray piece(const QString &folder, int index)
    {
        return TestFiles::read(QString("%1/clip.avi.%2").arg(folder).arg(index));
    }
};

TEST_F(CutFile, CutsTheExampleIntoAFolderWithItsJoinScript)
{
    const QString source = chooseExample();
    const QString out = path("clip_cut");
    writeToFolder(out);
    cutFile();

    EXPECT_EQ(filesIn(out),
              QStringList({"clip.avi.1", "clip.avi.2", "clip.avi.3", "clip.avi.bat"}));
    EXPECT_EQ(piece(out, 1).size(), 1457664);
    EXPECT_EQ(piece(out, 2).size(), 1457664);
    EXPECT_EQ(piece(out, 3).size(), 584672);
    EXPECT_EQ(piece(out, 1) + piece(out, 2) + piece(out, 3), TestFiles::read(source));
    const QByteArray script = TestFiles::read(out + "/clip.avi.bat");
    EXPECT_EQ(script, ExampleScript);
    EXPECT_EQ(script.size(), 182);
    expectJoinsBack({out}, source);
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(view.progress(), "3/3") << "a completed run leaves its progress shown";
    EXPECT_EQ(view.progressScale, 3);
    EXPECT_EQ(view.filledTo, 3);
}

TEST_F(CutFile, WritesOnePieceAndAThreeLineScriptWhenTheSizeHoldsTheWholeSource)
{
    const QString source = makeSource("clip.avi", 3500000);
    choose(source, "3 500 000");
    writeToFolder(path("out"));
    cutFile();

    EXPECT_EQ(filesIn(path("out")), QStringList({"clip.avi.1", "clip.avi.bat"}));
    EXPECT_EQ(piece(path("out"), 1), TestFiles::read(source));
    expectJoinsBack({path("out")}, source);
    EXPECT_EQ(TestFiles::read(path("out/clip.avi.bat")),
              "@echo off\r\nren \"clip.avi.1\" \"clip.avi\"\r\ndel \"clip.avi.bat\"");
    EXPECT_EQ(view.progress(), "1/1");
}

TEST_F(CutFile, MakesTheLastPieceFullWhenTheSourceIsAnExactMultiple)
{
    const QString source = makeSource("clip.avi", 2 * 1457664);
    choose(source, "1457664");
    writeToFolder(path("out"));
    cutFile();

    EXPECT_EQ(piece(path("out"), 1).size(), 1457664);
    EXPECT_EQ(piece(path("out"), 2).size(), 1457664);
    EXPECT_EQ(piece(path("out"), 1) + piece(path("out"), 2), TestFiles::read(source));
    EXPECT_EQ(TestFiles::read(path("out/clip.avi.bat")),
              "@echo off\r\nren \"clip.avi.1\" \"clip.avi\"\r\n"
              "copy /b \"clip.avi\"+\"clip.avi.2\" \"clip.avi\"\r\ndel \"clip.avi.2\"\r\n"
              "del \"clip.avi.bat\"");
    expectJoinsBack({path("out")}, source);
    EXPECT_TRUE(prompter.shown().isEmpty()) << "only the floppy warns of an extra disk";
}

TEST_F(CutFile, TidiesTheFolderTextAndWritesItBackBeforeCreatingTheFolder)
{
    const QString source = chooseExample();
    struct Change
    {
        QString text;
        bool folderExisted;
    };
    QList<Change> changes;
    const QString out = path("deep/clip_cut");
    QDir(dir.path()).mkdir("deep");
    view.onFolderChange = [&] {
        changes.append({view.folder, QFileInfo::exists(out)});
    };

    writeToFolder(dir.path() + "//deep///clip_cut//");
    changes.clear();
    cutFile();

    ASSERT_EQ(changes.size(), 1) << "the write-back raises the box's change once";
    EXPECT_EQ(changes[0].text, out);
    EXPECT_FALSE(changes[0].folderExisted) << "the change is handled before the run goes on";
    EXPECT_EQ(view.folder, out);
    expectJoinsBack({out}, source);
}

TEST_F(CutFile, RefusesAFolderTextThatIsNoWholePathAndCreatesNothing)
{
    chooseExample();
    const QString askForAWholePath = "Type the folder's whole path, beginning with / (or with ~ "
                                     "for your home folder), or A: for the floppy.";
    struct Case
    {
        const char *text;
        QString refusal;
    };
    const Case cases[] = {
        {"relout",
         "The folder \"relout\" is no whole path, so it does not say where the pieces "
         "would go.\r\n"
             + askForAWholePath},
        {"   ",
         "The folder \"   \" is no whole path, so it does not say where the pieces would "
         "go.\r\n"
             + askForAWholePath},
        {"C:\\temp",
         "The folder C:\\temp names drive C:, but here only A:, the floppy, names a "
         "drive.\r\n"
             + askForAWholePath},
    };
    const QString current = QDir::currentPath();
    const QStringList before = filesIn(current);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        writeToFolder(c.text);
        showOldProgress();
        prompter.answer(Prompter::Reply::Ok);
        cutFile();
        EXPECT_EQ(prompter.last(), errorMessage(c.refusal));
        EXPECT_EQ(view.folder, c.text) << "the box keeps what was typed";
        expectProgressReset();
    }
    EXPECT_EQ(filesIn(current), before) << "nothing is made in the program's working folder";
}

TEST_F(CutFile, MakesEveryMissingFolderOfThePathAndFindsTheHomeFolder)
{
    const QString source = chooseExample();
    platform.setHomeFolder(path("home"));
    QDir(dir.path()).mkdir("home");
    writeToFolder("~/movies/2026/clip_cut");
    cutFile();
    const QString out = path("home/movies/2026/clip_cut");
    EXPECT_EQ(view.folder, out) << "the box shows where the pieces went";
    expectJoinsBack({out}, source);

    // A run that ends before its first piece takes them all away again.
    writeToFolder(path("a/b/c"));
    prompter.answer(Prompter::Reply::Ok);
    fileSizeLimit.emplace(1000);
    cutFile();
    EXPECT_FALSE(QFileInfo::exists(path("a")));
}

TEST_F(CutFile, ReplacesAnOldScriptButNotWhatALinkAtItsNameLeadsTo)
{
    const QString source = chooseExample();
    const QString out = path("out");
    QDir(dir.path()).mkdir("out");
    TestFiles::write(out + "/clip.avi.bat", QByteArray(4096, 'x'));
    writeToFolder(out);
    prompter.answer(Prompter::Reply::Ok);
    cutFile();
    EXPECT_EQ(TestFiles::read(out + "/clip.avi.bat"), ExampleScript);

    const QString other = path("other.txt");
    TestFiles::write(other, "keep me");
    QFile::remove(out + "/clip.avi.bat");
    ASSERT_TRUE(QFile::link(other, out + "/clip.avi.bat"));
    prompter.answer(Prompter::Reply::Ok);
    cutFile();
    EXPECT_EQ(TestFiles::read(out + "/clip.avi.bat"), ExampleScript);
    EXPECT_FALSE(QFileInfo(out + "/clip.avi.bat").isSymLink());
    EXPECT_EQ(TestFiles::read(other), "keep me");
    expectJoinsBack({out}, source);
}

TEST_F(CutFile, StopsWithItsOwnMessageForASizeThatCutsNothingOrIsNoneOrAnEmptySource)
{
    const QString notUnderstood
        = "The size \"%1\" is not understood.\r\nType the bytes of a piece, or a number and a "
          "unit, as in 1 457 664, 700K, 25MB or 1,5GiB (K, M and G count 1024s, KB, MB and GB "
          "1000s).";
    const QString tooLarge = QString::fromUtf8(
        "The size \"%1\" is too large: a piece has at most 2\u00a0147\u00a0483\u00a0647 bytes.");
    struct Case
    {
        qint64 sourceLength;
        QString sizeText;
        QString message;
    };
    const Case cases[] = {
        {3500000, "0", "Files size is 0."},
        {3500000, "0 000", "Files size is 0."},
        {0, "1 457 664", "Source file size is 0."},
        {3500000, "-1", "Files size is negative."},
        {3500000, "-1 457 664", "Files size is negative."},
        {3500000, "-4G", "Files size is negative."},
        {3500000, "abc", notUnderstood.arg("abc")},
        {3500000, "", notUnderstood.arg("")},
        // What is quoted back fits a line: line breaks become blanks, a long text is cut.
        {3500000, " 25\r\nX ", notUnderstood.arg("25 X")},
        {3500000, "4G", tooLarge.arg("4G")},
        {3500000, "2 147 483 648", tooLarge.arg("2 147 483 648")},
        {3500000, QString(100, u'9'), tooLarge.arg(QString(39, u'9') + u'\u2026')},
    };
    for (const Case &c : cases) {
        choose(makeSource("clip.avi", c.sourceLength), c.sizeText);
        writeToFolder(path("out"));
        showOldProgress();
        prompter.answer(Prompter::Reply::Ok);
        cutFile();
        EXPECT_EQ(prompter.shown().value(&c - cases), errorMessage(c.message))
            << c.sizeText.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path("out"))) << "nothing is written";
        expectProgressReset();
    }
    EXPECT_EQ(prompter.shown().size(), std::size(cases)) << "no second message follows";
}

TEST_F(CutFile, CutsPiecesOfASizeWithAUnit)
{
    const QString source = makeSource("clip.avi", 2500);
    choose(source, "1K");
    writeToFolder(path("out"));
    cutFile();
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(QFileInfo(path("out/clip.avi.1")).size(), 1024);
    EXPECT_EQ(QFileInfo(path("out/clip.avi.3")).size(), 452);
    expectJoinsBack({path("out")}, source);
}

TEST_F(CutFile, AsksOnceBeforeACutIntoMoreThanAHundredThousandPiecesWithCancelTheDefault)
{
    const Prompter::Message manyPieces {
        QString::fromUtf8("Pieces of 1 bytes cut clip.avi into 100\u00a0001 files.\r\nOK cuts it "
                          "so. Cancel writes nothing: a size with a unit, as in 25M "
                          "(26\u00a0214\u00a0400 bytes), gives larger pieces."),
        Prompter::Icon::Warning, Prompter::Buttons::OkCancel, Prompter::DefaultTitle, true};
    choose(makeSource("clip.avi", 100001), "1");
    writeToFolder(path("out"));
    showOldProgress();
    prompter.answer(Prompter::Reply::Cancel);
    cutFile();
    EXPECT_EQ(prompter.shown(), QList({manyPieces})) << "Cancel says nothing more";
    EXPECT_FALSE(QFileInfo::exists(path("out"))) << "and writes nothing";
    expectProgressReset();

    // OK goes on with the run, here as far as a folder it refuses, so that no hundred thousand
    // files are written; a cut into exactly a hundred thousand is not asked about.
    for (const qint64 length : {100001, 100000}) {
        choose(makeSource("clip.avi", length), "1");
        writeToFolder("relout");
        const qsizetype before = prompter.shown().size();
        if (length > 100000)
            prompter.answer(Prompter::Reply::Ok);
        prompter.answer(Prompter::Reply::Ok);
        cutFile();
        const QList<Prompter::Message> shown = prompter.shown().mid(before);
        ASSERT_EQ(shown.size(), length > 100000 ? 2 : 1) << length;
        EXPECT_TRUE(shown.last().text.startsWith("The folder \"relout\" is no whole path"));
    }
}

TEST_F(CutFile, FillsThePieceItCopiesAsItGoes)
{
    const QString source = makeSource("clip.avi", 20 * 1024 * 1024 + 5);
    choose(source, "10M");
    writeToFolder(path("out"));
    cutFile();
    const QList<double> &shown = view.piecesInPart;
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_TRUE(std::is_sorted(shown.cbegin(), shown.cend())) << "the progress only grows";
    EXPECT_TRUE(std::any_of(shown.cbegin(), shown.cend(), [](double p) { return p > 0 && p < 1; }))
        << "within the first piece";
    EXPECT_TRUE(std::any_of(shown.cbegin(), shown.cend(), [](double p) { return p > 1 && p < 2; }))
        << "within the second";
    EXPECT_EQ(shown.last(), 3.0) << "and at its end, all three pieces";
    expectJoinsBack({path("out")}, source);
}

TEST_F(CutFile, StopsAtSourceSizeZeroWhenNoFileWasDropped)
{
    view.sizeText = "1 457 664";
    engine.UpdateEstimate();
    writeToFolder(path("out"));
    prompter.answer(Prompter::Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.shown(), QList({errorMessage("Source file size is 0.")}));
}

TEST_F(CutFile, ReportsFailuresWithTheGeneralErrorMessageAndResetsTheProgress)
{
    struct Case
    {
        const char *what;
        std::function<void(CutFile &, const QString &source)> arrange;
        int number;
        const char *description;
        // The failure is the system's answer, which the standard error then tells.
        bool fromTheSystem = true;
    };
    const Case cases[] = {
        {"an empty destination text", [](CutFile &t, const QString &) { t.writeToFolder(""); }, 5,
         "Invalid procedure call or argument", false},
        {"a source deleted after the estimate",
         [](CutFile &t, const QString &source) {
             QFile::remove(source);
             t.forgetSource(source);
         },
         53, "File not found"},
        {"a destination that is a file",
         [](CutFile &t, const QString &) {
             TestFiles::write(t.path("file"), "x");
             t.writeToFolder(t.path("file"));
         },
         58, "File already exists"},
        {"a destination inside a file",
         [](CutFile &t, const QString &) {
             TestFiles::write(t.path("file2"), "x");
             t.writeToFolder(t.path("file2/out"));
         },
         76, "Path not found"},
        {"a destination where nothing may be written",
         [](CutFile &t, const QString &) {
             // Permissions do not hold back the superuser; the kernel's own folders do.
             QDir(t.dir.path()).mkdir("locked");
             QFile::setPermissions(t.path("locked"), QFile::ReadOwner | QFile::ExeOwner);
             t.writeToFolder(::geteuid() == 0 ? "/sys" : t.path("locked"));
         },
         70, "Permission denied"},
        {"a full disk", [](CutFile &t, const QString &) { t.fileSizeLimit.emplace(1000000); }, 61,
         "Disk full"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString source = makeSource(QString("clip%1.avi").arg(&c - cases), 3500000);
        choose(source, "1 457 664");
        writeToFolder(path("out"));
        c.arrange(*this, source);
        showOldProgress();
        prompter.answer(Prompter::Reply::Ok);
        testing::internal::CaptureStderr();
        cutFile();
        // What the system answered, which the box does not show, is there for a report.
        const std::string said = testing::internal::GetCapturedStderr();
        if (c.fromTheSystem) {
            const std::string line = QString("Morlend: error #%1 %2: the system answered ")
                                         .arg(c.number)
                                         .arg(c.description)
                                         .toStdString();
            EXPECT_EQ(said.substr(0, line.size()), line);
        } else {
            EXPECT_EQ(said, "");
        }
        EXPECT_EQ(prompter.shown().value(&c - cases),
                  errorMessage(generalError(c.number, c.description)));
        expectProgressReset();
    }
    EXPECT_EQ(prompter.shown().size(), std::size(cases));
}

TEST_F(CutFile, WritesNamesInTheConsolesCodePageAndRefusesOthers)
{
    const ScopedLocale english(ScopedLocale::english());
    const QString source = makeSource("café.avi", 100);
    choose(source, "1 457 664");
    writeToFolder(path("out"));
    cutFile();
    EXPECT_EQ(TestFiles::read(path("out/café.avi.bat")),
              "@echo off\r\nren \"caf\x82.avi.1\" \"caf\x82.avi\"\r\ndel \"caf\x82.avi.bat\"");
    expectJoinsBack({path("out")}, source);

    const QString cyrillic = makeSource("файл.avi", 100);
    choose(cyrillic, "1 457 664");
    writeToFolder(path("refused"));
    prompter.answer(Prompter::Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.shown(),
              QList({errorMessage("The join script cannot name the file файл.avi: the console's "
                                  "code page 437 has no place for some of its characters.\r\n"
                                  "Rename the file and try again.")}));
    EXPECT_FALSE(QFileInfo::exists(path("refused")));

    const ScopedLocale russian(ScopedLocale::blankGrouping());
    writeToFolder(path("cyrillic"));
    cutFile();
    EXPECT_EQ(TestFiles::read(path("cyrillic/файл.avi.1")).size(), 100);
    EXPECT_TRUE(
        TestFiles::read(path("cyrillic/файл.avi.bat")).contains("\"\xe4\xa0\xa9\xab.avi\""));
    expectJoinsBack({path("cyrillic")}, cyrillic);

    // A character that the conversion would drop: the script would name "backup", and its
    // last line would delete someone's backup.bat.
    const QString unseen = makeSource("back\ufeffup", 100);
    choose(unseen, "1 457 664");
    writeToFolder(path("unseen"));
    prompter.answer(Prompter::Reply::Ok);
    cutFile();
    EXPECT_EQ(prompter.last(),
              errorMessage("The join script cannot name the file back\ufeffup: the console's "
                           "code page 866 has no place for some of its characters.\r\n"
                           "Rename the file and try again."));
    EXPECT_FALSE(QFileInfo::exists(path("unseen")));
}

} // namespace
