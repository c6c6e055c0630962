#include "tests/engine/EngineFixture.h"

#include "platform/OemCodePage.h"
#include "tests/engine/JoinScriptInterpreter.h"
#include "tests/support/TestFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {

QByteArray digestOf(const QString &path)
{
    return QCryptographicHash::hash(TestFiles::read(path), QCryptographicHash::Sha256);
}

int openFileCount()
{
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

} // namespace

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QString generalError(int number, const char *description)
{
    return QString("General error.\r\n\r\nAn error #%1 occured:\r\n%2")
        .arg(number)
        .arg(description);
}

QString incompleteSet(const QString &what)
{
    return "\r\n\r\nThe set is incomplete: " + what
        + ". It does not rebuild the file; cut the file again.";
}

EngineFixture::EngineFixture()
{
    QDir(dir.path()).mkdir("C");
    platform.setTemporaryFolder(path("C"));
    ejectDisk();
}

void EngineFixture::TearDown()
{
    for (auto source = m_sourceDigests.cbegin(); source != m_sourceDigests.cend(); ++source)
        EXPECT_EQ(digestOf(source.key()), source.value())
            << "source changed: " << source.key().toStdString();
}

QString EngineFixture::makeSource(const QString &name, qint64 length)
{
    const QString source = path(name);
    TestFiles::write(source, TestFiles::pattern(length));
    rememberSource(source);
    return source;
}

void EngineFixture::rememberSource(const QString &path)
{
    m_sourceDigests.insert(path, digestOf(path));
}

void EngineFixture::forgetSource(const QString &path)
{
    m_sourceDigests.remove(path);
}

QString EngineFixture::disk(int n)
{
    const QString name = QString("disk%1").arg(n);
    QDir(dir.path()).mkpath(name);
    return path(name);
}

void EngineFixture::insertDisk(int n)
{
    platform.setFloppyMountPoint(disk(n));
}

void EngineFixture::ejectDisk()
{
    platform.setFloppyMountPoint("");
}

void EngineFixture::choose(const QString &source, const QString &sizeText)
{
    engine.state().SourcePath = source;
    view.sizeText = sizeText;
    engine.UpdateEstimate();
}

QString EngineFixture::chooseExample(qint64 length)
{
    const QString source = makeSource("clip.avi", length);
    choose(source, "1 457 664");
    return source;
}

void EngineFixture::writeToFolder(const QString &folderText)
{
    view.intoFolder = true;
    view.folder = folderText;
    view.clearBoxEnabled = false;
}

void EngineFixture::writeToFloppy(bool clear)
{
    view.intoFolder = false;
    view.clearBoxEnabled = true;
    view.clearBoxTicked = clear;
}

void EngineFixture::useClearScript(const QString &body)
{
    const QString script = path("clear.sh");
    TestFiles::write(script,
                     QString("echo \"$1\" >> '%1'\n%2\n").arg(path("clears.log"), body).toUtf8());
    platform.setClearScript(script);
}

QStringList EngineFixture::clears() const
{
    QFile log(path("clears.log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
}

void EngineFixture::showOldProgress()
{
    view.startProgress(1);
    engine.ShowProgress(1);
}

void EngineFixture::expectProgressReset()
{
    EXPECT_EQ(view.progress(), QString("0/%1").arg(engine.state().PieceCount));
    EXPECT_EQ(view.filledTo, -1) << "the progress box still shows progress";
}

void EngineFixture::expectProgressShowsOnDisks(qint64 written)
{
    EXPECT_EQ(view.progress(), QString("%1/%2").arg(written).arg(engine.state().PieceCount));
    EXPECT_EQ(view.filledTo, written);
}

QString EngineFixture::scriptLeftBehind(const QString &scriptPath) const
{
    return "\r\nThe join script, as far as it goes, is the file " + scriptPath
        + ": the disks cannot be joined without it.";
}

void EngineFixture::expectJoinsBack(const QStringList &folders, const QString &source)
{
    const OemCodePage codePage = OemCodePage::forLocale(QLocale());
    JoinScriptInterpreter scratch;
    for (const QString &folder : folders) {
        for (const QString &name : filesIn(folder))
            scratch.addFile(codePage.encode(name), TestFiles::read(folder + '/' + name));
    }
    const QString name = QFileInfo(source).fileName();
    ASSERT_TRUE(scratch.run(codePage.encode(name + ".bat"))) << scratch.failure().toStdString();
    EXPECT_EQ(scratch.files().keys(), QList({codePage.encode(name)}));
    EXPECT_EQ(scratch.files().value(codePage.encode(name)), TestFiles::read(source));
}

void EngineFixture::cutFile()
{
    const int before = openFileCount();
    const int runsEnded = view.runsEnded;
    engine.CutFile();
    fileSizeLimit.reset();
    EXPECT_EQ(openFileCount(), before) << "the run left files open";
    EXPECT_EQ(view.runsEnded, runsEnded + 1) << "the run kept the window's input";
}
