#pragma once

#include "controls/ImageBox.h"
#include "engine/Engine.h"
#include "platform/Platform.h"
#include "tests/support/ScopedLocale.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"
#include "tests/support/WindowDrag.h"
#include "ui/Form1.h"

#include <QApplication>
#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

// The real window, shown and active, with a scripted user and a floppy that is a folder of
// the test's own.
class Form1Behaviour : public ::testing::Test
{
protected:
    Form1Behaviour()
    {
        QDir(dir.path()).mkpath("floppy");
        QDir(dir.path()).mkpath("data");
        platform.setFloppyMountPoint(path("floppy"));
        platform.setTemporaryFolder(dir.path());
        form.show();
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    QString path(const QString &relative) const { return dir.filePath(relative); }

    QString makeFile(const QString &relative, qint64 length)
    {
        TestFiles::write(path(relative), TestFiles::pattern(length));
        return path(relative);
    }

    // Drops files, or anything else a drag can carry, on the drop area.
    void drop(const QList<QUrl> &urls)
    {
        QMimeData data;
        data.setUrls(urls);
        WindowDrag drag(form, data, Qt::CopyAction);
        const QPoint centre = centreOf(form.imgDnD);
        ASSERT_EQ(drag.enter(centre), Qt::CopyAction);
        drag.drop(centre);
    }
    void dropFile(const QString &file) { drop({QUrl::fromLocalFile(file)}); }

    void typeInto(QWidget *control, const QString &text)
    {
        control->setFocus();
        QTest::keyClicks(control, text);
    }

    void pressKey(QWidget *control, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        control->setFocus();
        QTest::keyClick(control, key, modifiers);
    }

    QPoint centreOf(const QWidget *control) const
    {
        return control->mapTo(&form, control->rect().center());
    }

    modMorlend::EngineState &state() { return form.engine().state(); }

    ScopedLocale locale {ScopedLocale::english()};
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    Platform platform;
    Form1 form {prompter, platform};
};
