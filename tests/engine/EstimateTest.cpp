#include "EngineFixture.h"
#include "PaintRecorder.h"
#include "QtPrinters.h"
#include "TestFiles.h"

#include <QTest>

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
        cmbFilesize.setEditText(sizeText);
        engine.UpdateEstimate();
        return txtEst.text();
    }
};

TEST_F(Estimate, WithoutASourceAsksForOne)
{
    cmbFilesize.setEditText("1 457 664");
    engine.UpdateEstimate();
    EXPECT_EQ(txtEst.text(), "{no source file selected}");
    EXPECT_EQ(lblProg.text(), "0/0");
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
        EXPECT_EQ(lblProg.text(), QString("0/%1").arg(engine.state().PieceCount));
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
    EXPECT_EQ(lblProg.text(), "0/3684");
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
        EXPECT_EQ(lblProg.text(), "0/3");
    }
}

TEST_F(Estimate, ASizeTextThatIsNoNumberLeavesTheEstimateAsItWas)
{
    for (const char *text : {"abc", "", "2147483648", "99999999999"}) {
        const QString before = estimateFor(3500000, "1 457 664");
        engine.state().PieceCount = 7;
        EXPECT_EQ(estimateFor(2915328, text), before) << text;
        EXPECT_EQ(engine.state().PieceSize, 1457664) << text;
        EXPECT_EQ(engine.state().SourceSize, 3500000) << text;
        EXPECT_EQ(lblProg.text(), "0/7") << "the progress display is reset all the same";
    }
}

TEST_F(Estimate, ASourceThatCannotBeMeasuredLeavesTheEstimateAsItWas)
{
    const QString before = estimateFor(3500000, "1 457 664");
    for (const QString &unreadable : {path("missing.bin"), dir.path()}) {
        engine.state().SourcePath = unreadable;
        engine.UpdateEstimate();
        EXPECT_EQ(txtEst.text(), before) << unreadable.toStdString();
        EXPECT_EQ(engine.state().SourceSize, 3500000);
    }
}

TEST_F(Estimate, RefreshShowsTheClearedDiskNoticeInsteadOfTheEstimate)
{
    estimateFor(3500000, "730 112");
    engine.state().SourceOnClearedDisk = true;
    cmbFilesize.setEditText("1 457 664");
    engine.RefreshEstimate();
    EXPECT_EQ(txtEst.text(), "{file is on disk being cleared}");
    EXPECT_EQ(engine.state().PieceSize, 730112) << "the notice runs no estimate";

    engine.state().SourceOnClearedDisk = false;
    engine.RefreshEstimate();
    EXPECT_EQ(txtEst.text(), QString::fromUtf8("files: 3, last file: 584\u00a0672 bytes"));
}

TEST_F(Estimate, ProgressCountsPiecesAndFillsItsShareOfTheBox)
{
    estimateFor(3500000, "1 457 664");
    picProg.setScaleWidth(engine.state().PieceCount);
    const QImage &surface = picProg.surface();
    const int interior = surface.width();
    ASSERT_EQ(interior, 135) << "a 139-pixel box inside its two-pixel frame";

    engine.ShowProgress(2);
    EXPECT_EQ(lblProg.text(), "2/3");
    const QRgb filled = progressColor();
    EXPECT_EQ(surface.pixel(89, 0), filled) << "two thirds of 135 pixels end at pixel 89";
    EXPECT_NE(surface.pixel(90, 0), filled);
    EXPECT_NE(surface.pixel(0, 1), filled) << "one unit of 90 covers only the top pixel row";

    engine.ShowProgress(3);
    EXPECT_EQ(lblProg.text(), "3/3");
    EXPECT_EQ(surface.pixel(interior - 1, 0), filled);

    engine.ShowProgress(-1);
    EXPECT_EQ(lblProg.text(), "0/3");
    EXPECT_NE(surface.pixel(0, 0), filled);
}

TEST_F(Estimate, ProgressPaintsWhatChangedAndNothingElse)
{
    estimateFor(3500000, "1 457 664");
    picProg.setScaleWidth(engine.state().PieceCount);
    // Apart from each other and from the controls the fixture leaves in the corner, as the
    // window has them.
    picProg.move(3, 216);
    lblProg.setGeometry(147, 215, 79, 13);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    PaintRecorder box(picProg);
    PaintRecorder label(lblProg);
    // A clock that stands still: the first step is shown at once, the others at the next
    // paint.
    engine.pacer().setClock([] { return 0; });

    engine.ShowProgress(1);
    EXPECT_EQ(box.paints.size(), 1);
    EXPECT_EQ(label.paints.size(), 1);
    engine.ShowProgress(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(box.paints.size(), 1) << "the same progress again changes no pixel";
    EXPECT_EQ(label.paints.size(), 1) << "nor the same caption";
    engine.ShowProgress(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(box.paints.size(), 2);
    EXPECT_EQ(label.paints.size(), 2);
}

} // namespace
