#include "tests/engine/EngineFixture.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

using namespace modMorlend;

namespace {

class Estimate : public EngineFixture
{
protected:
    QString sourceOf(qint64 length)
    {
        const QString source = path(QString("source-%1.bin").arg(length));
        TestFiles::writeSparse(source, length);
        return source;
    }

    QString estimateFor(qint64 length, const char *sizeText)
    {
        engine.state().SourcePath = sourceOf(length);
        view.sizeText = sizeText;
        engine.UpdateEstimate();
        return view.estimate;
    }
};

TEST_F(Estimate, WithoutASourceAsksForOne)
{
    view.sizeText = "1 457 664";
    engine.UpdateEstimate();
    EXPECT_EQ(view.estimate, "{no source file selected}");
    EXPECT_EQ(view.progress(), "0/0");
}

TEST_F(Estimate, CountsThePiecesAndSizesTheLastOne)
{
    struct Case
    {
        qint64 length;
        const char *sizeText;
        const char *expected;
    };
    const Case cases[] = {
        {3500000, "1 457 664", "files: 3, last file: 584\u00a0672 bytes"},
        {3500000, "1 213 952", "files: 3, last file: 1\u00a0072\u00a0096 bytes"},
        {3500000, "730 112", "files: 5, last file: 579\u00a0552 bytes"},
        {2915328, "1 457 664", "files: 2, last file: 1\u00a0457\u00a0664 bytes"},
        {1, "1 457 664", "files: 1, last file: 1 bytes"},
        {0, "1 457 664", "files: 0, last file: 0 bytes"},
        {3500000, "1457664", "files: 3, last file: 584\u00a0672 bytes"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(estimateFor(c.length, c.sizeText), QString::fromUtf8(c.expected))
            << c.length << " at " << c.sizeText;
        EXPECT_EQ(view.progress(), QString("0/%1").arg(engine.state().PieceCount));
    }
}

TEST_F(Estimate, GroupsTheLastSizeWithTheUsersLocale)
{
    const ScopedLocale english(ScopedLocale::english());
    EXPECT_EQ(estimateFor(3500000, "1 457 664"), "files: 3, last file: 584,672 bytes");
}

TEST_F(Estimate, PlansSourcesBeyondTwoGibibytes)
{
    const qint64 fiveGiBAndOne = 5LL * 1024 * 1024 * 1024 + 1;
    EXPECT_EQ(estimateFor(fiveGiBAndOne, "1 457 664"),
              QString::fromUtf8("files: 3684, last file: 132\u00a0609 bytes"));
    EXPECT_EQ(engine.state().SourceSize, fiveGiBAndOne);
    EXPECT_EQ(engine.state().PieceCount, 3684);
    EXPECT_EQ(view.progress(), "0/3684");
}

TEST_F(Estimate, AZeroOrNegativeSizeShowsItsNoticeAndKeepsTheCount)
{
    const std::pair<const char *, const char *> cases[] = {
        {"0", "{files size is 0}"},
        {"0 000", "{files size is 0}"},
        {"-1", "{files size is negative}"},
        {"-1 457 664", "{files size is negative}"},
        {"-2147483648", "{files size is negative}"},
    };
    for (const auto &[sizeText, notice] : cases) {
        estimateFor(3500000, "1 457 664");
        EXPECT_EQ(estimateFor(2915328, sizeText), notice) << sizeText;
        EXPECT_LE(engine.state().PieceSize, 0);
        EXPECT_EQ(engine.state().SourceSize, 2915328) << "the source is measured all the same";
        EXPECT_EQ(engine.state().PieceCount, 3) << "no count is planned";
        EXPECT_EQ(view.progress(), "0/3");
    }
}

TEST_F(Estimate, ASizeTextThatIsNoSizeSaysSoAndKeepsThePlan)
{
    const std::pair<const char *, const char *> cases[] = {
        {"abc", "{size not understood}"},
        {"", "{size not understood}"},
        {"25 MB 2", "{size not understood}"},
        {"2147483648", "{largest size: 2\u00a0147\u00a0483\u00a0647 bytes}"},
        {"99999999999", "{largest size: 2\u00a0147\u00a0483\u00a0647 bytes}"},
        {"4G", "{largest size: 2\u00a0147\u00a0483\u00a0647 bytes}"},
    };
    for (const auto &[text, notice] : cases) {
        estimateFor(3500000, "1 457 664");
        engine.state().PieceCount = 7;
        EXPECT_EQ(estimateFor(2915328, text), QString::fromUtf8(notice)) << text;
        EXPECT_EQ(engine.state().PieceSize, 1457664) << text;
        EXPECT_EQ(engine.state().SourceSize, 3500000) << text;
        EXPECT_EQ(view.progress(), "0/7") << "the progress display is reset all the same";
    }
}

TEST_F(Estimate, PlansSizesWithUnits)
{
    EXPECT_EQ(estimateFor(52428800, "25M"),
              QString::fromUtf8("files: 2, last file: 26\u00a0214\u00a0400 bytes"));
    EXPECT_EQ(engine.state().PieceSize, 26214400);
    EXPECT_EQ(estimateFor(52428800, "25 MB"),
              QString::fromUtf8("files: 3, last file: 2\u00a0428\u00a0800 bytes"));
}

TEST_F(Estimate, ASourceThatCannotBeMeasuredLeavesTheEstimateAsItWas)
{
    const QString before = estimateFor(3500000, "1 457 664");
    for (const QString &unreadable : {path("missing.bin"), dir.path()}) {
        engine.state().SourcePath = unreadable;
        engine.UpdateEstimate();
        EXPECT_EQ(view.estimate, before) << unreadable.toStdString();
        EXPECT_EQ(engine.state().SourceSize, 3500000);
    }
}

TEST_F(Estimate, ReusesTheLengthTheWindowHasJustMeasuredAndMeasuresAgainLater)
{
    engine.state().SourcePath = sourceOf(3500000);
    view.sizeText = "1 457 664";
    {
        // As if the file grew or shrank in the moment after the window measured it.
        const Engine::MeasuredSource measured = engine.measuredSource(2915328);
        engine.UpdateEstimate();
        EXPECT_EQ(view.estimate,
                  QString::fromUtf8("files: 2, last file: 1\u00a0457\u00a0664 bytes"));
        engine.RefreshEstimate();
        EXPECT_EQ(engine.state().SourceSize, 2915328) << "every estimate of the drop reuses it";
    }
    engine.UpdateEstimate();
    EXPECT_EQ(view.estimate, QString::fromUtf8("files: 3, last file: 584\u00a0672 bytes"));
    EXPECT_EQ(engine.state().SourceSize, 3500000);
}

TEST_F(Estimate, RefreshShowsTheClearedDiskNoticeInsteadOfTheEstimate)
{
    estimateFor(3500000, "730 112");
    engine.state().SourceOnClearedDisk = true;
    view.sizeText = "1 457 664";
    engine.RefreshEstimate();
    EXPECT_EQ(view.estimate, "{file is on disk being cleared}");
    EXPECT_EQ(engine.state().PieceSize, 730112) << "the notice runs no estimate";

    engine.state().SourceOnClearedDisk = false;
    engine.RefreshEstimate();
    EXPECT_EQ(view.estimate, QString::fromUtf8("files: 3, last file: 584\u00a0672 bytes"));
}

} // namespace
