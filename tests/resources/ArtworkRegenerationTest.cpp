#include "GeneratorRun.h"
#include "QtPrinters.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
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
    EXPECT_EQ(
        made,
        QStringList({"dnd.gif", "dnd@2x.gif", "ent.bmp", "ent@2x.bmp", "esc.bmp", "esc@2x.bmp",
                     "f1.bmp", "f1@2x.bmp", "morlend.ico", "morlend.png", "morlend@2x.png"}));
    const QDir committed = QFileInfo(ARTWORK_SCRIPT).dir();
    for (const QString &name : made) {
        EXPECT_TRUE(TestFiles::read(folder.filePath(name))
                    == TestFiles::read(committed.filePath(name)))
            << name.toStdString() << " differs from a fresh run of the generator";
    }
}

} // namespace
