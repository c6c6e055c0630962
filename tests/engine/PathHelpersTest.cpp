#include "engine/PathHelpers.h"

#include "platform/AppError.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace modMorlend;

namespace {

struct PathCase
{
    const char *path;
    const char *folder; // nullptr: GetFolder must fail
    const char *fileName;
    const char *extension;
    const char *baseName;
};

// Every case is written with "\" and checked once as written and once with "/" in its place,
// so Windows-style and POSIX paths follow the same rules.
const PathCase cases[] = {
    {R"(C:\docs\report.final.doc)", R"(C:\docs)", "report.final.doc", "doc", "report.final"},
    {R"(C:\my.dir\readme)", R"(C:\my.dir)", "readme", "", "readme"},
    {R"(C:\x\archive.)", R"(C:\x)", "archive.", "", "archive."},
    {R"(C:\data\clip.avi)", R"(C:\data)", "clip.avi", "avi", "clip"},
    {R"(C:\data\.profile)", R"(C:\data)", ".profile", "profile", ""},
    {R"(\clip.avi)", "", "clip.avi", "avi", "clip"},
    {R"(C:\folder\)", R"(C:\folder)", "", "", ""},
    {"clip.avi", nullptr, "clip.avi", "avi", "clip"},
    {"", nullptr, "", "", ""},
};

QString styled(const char *text, QChar separator)
{
    return QString::fromUtf8(text).replace(u'\\', separator);
}

class PathHelpers : public ::testing::TestWithParam<QChar>
{
};

TEST_P(PathHelpers, SplitAtTheLastSeparatorAndTheNameAtItsLastDot)
{
    const QChar separator = GetParam();
    for (const PathCase &c : cases) {
        const QString path = styled(c.path, separator);
        SCOPED_TRACE(path.toStdString());
        if (c.folder) {
            EXPECT_EQ(GetFolder(path, separator), styled(c.folder, separator));
        } else {
            EXPECT_THROW(
                {
                    try {
                        GetFolder(path, separator);
                    } catch (const AppError &error) {
                        EXPECT_EQ(error.number(), AppError::InvalidArgument);
                        throw;
                    }
                },
                AppError);
        }
        EXPECT_EQ(GetFileName(path, separator), QString::fromUtf8(c.fileName));
        EXPECT_EQ(GetExtension(path, separator), QString::fromUtf8(c.extension));
        EXPECT_EQ(GetBaseName(path, separator), QString::fromUtf8(c.baseName));
    }
}

TEST_P(PathHelpers, TidyAFolderTextToOneSeparatorBetweenPartsAndNoneAtTheEnd)
{
    const QChar separator = GetParam();
    const char *cases[][2] = {
        {R"(C:\\out\\)", R"(C:\out)"},
        {R"(C:\out)", R"(C:\out)"},
        {R"(C:\a\\\\b\\\)", R"(C:\a\b)"},
        {R"(D:\)", "D:"},
        {R"(\\server\share)", R"(\server\share)"},
        {R"(\)", R"(\)"},
        {R"(\\\)", R"(\)"},
        {"a:", "a:"},
    };
    for (const auto &[text, folder] : cases)
        EXPECT_EQ(normalizedFolder(styled(text, separator), separator), styled(folder, separator))
            << text;
    EXPECT_THROW(normalizedFolder("", separator), AppError);
}

TEST_P(PathHelpers, JoinANameToAFolderWithOneSeparator)
{
    const QChar separator = GetParam();
    EXPECT_EQ(joinPath(styled(R"(C:\out)", separator), "clip.avi.1", separator),
              styled(R"(C:\out\clip.avi.1)", separator));
    EXPECT_EQ(joinPath("A:", "clip.avi.1", separator), styled(R"(A:\clip.avi.1)", separator));
    EXPECT_EQ(joinPath(QString(separator), "x", separator), QString(separator) + "x")
        << "the root takes no second separator";
}

INSTANTIATE_TEST_SUITE_P(BothSeparatorStyles, PathHelpers,
                         ::testing::Values(QChar(u'\\'), QChar(u'/')), [](const auto &info) {
                             return info.param == u'/' ? "Slash" : "Backslash";
                         });

TEST(PathHelpersDefault, SplitAtTheNativeSeparator)
{
    const QString path = QString("%1data%1clip.avi").arg(NativeSeparator);
    EXPECT_EQ(GetFolder(path), QString(NativeSeparator) + "data");
    EXPECT_EQ(GetBaseName(path), "clip");
}

TEST(PathHelpersDefault, AnOtherSystemsSeparatorIsPartOfTheName)
{
    const QChar foreign = NativeSeparator == u'/' ? u'\\' : u'/';
    const QString path = QString("a%1b.c").arg(foreign);
    EXPECT_EQ(GetFileName(path), path);
    EXPECT_THROW(GetFolder(path), AppError);
}

} // namespace
