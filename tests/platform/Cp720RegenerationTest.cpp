#include "tests/support/GeneratorRun.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The committed page is what the generator makes from Python's codec; a change to either must
// go with the other.
TEST(Cp720Regeneration, GeneratorRemakesTheCommittedPageByteForByte)
{
    const QString python = PYTHON3_EXECUTABLE;
    if (python.isEmpty())
        GTEST_SKIP() << "no python3 to run the generator";

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(generatorWritesInto(python, CP720_SCRIPT, folder.path()));

    const QString committed = QFileInfo(CP720_SCRIPT).dir().filePath("Cp720.cpp");
    EXPECT_TRUE(TestFiles::read(folder.filePath("Cp720.cpp")) == TestFiles::read(committed))
        << "Cp720.cpp differs from a fresh run of the generator";
}

} // namespace
