#pragma once

#include "engine/Engine.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "tests/engine/TestView.h"
#include "tests/support/ExampleScript.h"
#include "tests/support/ScopedFileSizeLimit.h"
#include "tests/support/ScopedLocale.h"
#include "tests/support/ScriptedPrompter.h"

#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <optional>

// The names in a folder, hidden ones included, in order.
QStringList filesIn(const QString &folder);
// The text of the general error message.
QString generalError(int number, const char *description);
// What a failure message adds when pieces were written: "The set is incomplete: " and what.
QString incompleteSet(const QString &what);

// The system's services, counting each time a file is flushed to its disk; the flush numbered
// failingFlush fails as a disk that cannot be written fails it.
class RecordingPlatform : public Platform
{
public:
    void flushToDisk(File &file) const override
    {
        if (++flushes == failingFlush)
            throw AppError(AppError::DeviceIOError);
        Platform::flushToDisk(file);
    }

    mutable int flushes = 0;
    int failingFlush = 0;
};

// The window's part as it starts, an engine over it, a scripted user and a system whose floppy and
// temporary folder live in the test's own folder. No floppy is mounted until a test inserts a disk.
// Every source made here is checked, when the test ends, to be exactly as it was made.
class EngineFixture : public ::testing::Test
{
public:
    EngineFixture();
    void TearDown() override;

    // A file of length patterned bytes named name in the test's folder.
    QString makeSource(const QString &name, qint64 length);
    // Takes the source's current content as the one to keep (for tests that change it).
    void rememberSource(const QString &path);
    void forgetSource(const QString &path);

    QString path(const QString &relative) const { return dir.filePath(relative); }
    // Floppy disk number n: a folder of its own, made on first use.
    QString disk(int n);
    void insertDisk(int n);
    void ejectDisk();

    // The window's part before a cut: the dropped source, its estimate at the size text.
    void choose(const QString &source, const QString &sizeText);
    // The usual example chosen: clip.avi, of 3 500 000 bytes unless told otherwise, at the size
    // of a 1.44 MB floppy.
    QString chooseExample(qint64 length = 3500000);
    void writeToFolder(const QString &folderText);
    // The floppy option, with the clearing box enabled as the window enables it.
    void writeToFloppy(bool clear);
    // The interpreter clears disks with a script that logs its argument, then runs body.
    void useClearScript(const QString &body = R"(find "$1" -mindepth 1 -delete)");
    // The mount points the clear script was run on, in order.
    QStringList clears() const;

    // Gathers what a run left in folders (its disks, for a floppy run) into one scratch folder,
    // as the user would, runs the join script there, and checks that it leaves the source,
    // byte for byte, under its name and nothing else.
    void expectJoinsBack(const QStringList &folders, const QString &source);

    // Runs CutFile, checking that it leaves no file of its own open; a file-size limit set for
    // the run is lifted when it returns.
    void cutFile();
    // Fills the progress display as a finished earlier run leaves it, so that a reset shows.
    void showOldProgress();
    void expectProgressReset();
    // What a floppy run that ended early shows: the pieces it put on disks.
    void expectProgressShowsOnDisks(qint64 written);
    // What a floppy run that ended with pieces on disks tells of its script.
    QString scriptLeftBehind(const QString &scriptPath) const;

    ScopedLocale locale {ScopedLocale::blankGrouping()};
    QTemporaryDir dir;
    TestView view;
    ScriptedPrompter prompter;
    RecordingPlatform platform;
    // Makes a disk full for the run: a file written beyond this many bytes fails part way.
    std::optional<ScopedFileSizeLimit> fileSizeLimit;
    modMorlend::Engine engine {view, prompter, platform};

private:
    QHash<QString, QByteArray> m_sourceDigests;
};
