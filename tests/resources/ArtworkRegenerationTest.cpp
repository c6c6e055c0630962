#include "tests/support/GeneratorRun.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The committed images are what the generator makes; a change to either must go with the other.
TEST(ArtworkRegeneration, GeneratorRemakesTheCommittedImagesByteForByte)
{
    const QString python = PYTHON3_EXECUTABLE;
    if (python.isEmpty())
        GTEST_SKIP() << "no python3 to run the generator";

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(generatorWritesInto(python, ARTWORK_SCRIPT, folder.path()));

    const QStringList made = QDir(folder.path()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(made,
              QStringList({"dnd.gif", "dnd@2x.gif", "ent.bmp", "ent@2x.bmp", "esc.bmp",
                           "esc@2x.bmp", "f1.bmp", "f1@2x.bmp", "morlend-128.png", "morlend-22.png",
                           "morlend-24.png", "morlend-256.png", "morlend-48.png", "morlend-64.png",
                           "morlend.ico", "morlend.png", "morlend.svg", "morlend@2x.png"}));
    const QDir committed = QFileInfo(ARTWORK_SCRIPT).dir();
    for (const QString &name : made) {
        EXPECT_TRUE(TestFiles::read(folder.filePath(name))
                    == TestFiles::read(committed.filePath(name)))
            << name.toStdString() << " differs from a fresh run of the generator";
    }
}

// Nothing in the program draws the scalable icon, so it is drawn here and held against the
// largest one.
TEST(ArtworkRegeneration, TheScalableIconShowsWhatTheLargestOneDoes)
{
    const QString renderer = RSVG_CONVERT_EXECUTABLE;
    if (renderer.isEmpty())
        GTEST_SKIP() << "no rsvg-convert to draw the scalable icon";

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir committed = QFileInfo(ARTWORK_SCRIPT).dir();
    QProcess drawing;
    drawing.start(renderer,
                  {"--width", "256", "--height", "256", "--output", folder.filePath("drawn.png"),
                   committed.filePath("morlend.svg")});
    ASSERT_TRUE(drawing.waitForFinished(60000));
    ASSERT_EQ(drawing.exitCode(), 0) << drawing.readAllStandardError().toStdString();

    const QImage drawn
        = QImage(folder.filePath("drawn.png")).convertToFormat(QImage::Format_ARGB32);
    const QImage largest
        = QImage(committed.filePath("morlend-256.png")).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(drawn.size(), largest.size());
    int unlike = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb a = drawn.pixel(x, y), b = largest.pixel(x, y);
            unlike += std::abs(qAlpha(a) - qAlpha(b)) > 48 || std::abs(qRed(a) - qRed(b)) > 48
                || std::abs(qGreen(a) - qGreen(b)) > 48 || std::abs(qBlue(a) - qBlue(b)) > 48;
        }
    }
    // Only where the smoothing of the cut's slants differs.
    EXPECT_LT(unlike, drawn.width() * drawn.height() / 1000);
}

} // namespace
