#include "controls/CLine.h"

#include "controls/PropertyBag.h"
#include "tests/controls/RecordingHost.h"
#include "tests/support/QtPrinters.h"

#include <QJsonObject>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A line placed in a shown window, so that it is sized as the window places it.
class CLineTest : public ::testing::Test
{
protected:
    CLineTest()
    {
        window.resize(300, 300);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QRgb shadow() const { return line.palette().color(QPalette::Dark).rgb(); }
    QRgb highlight() const { return line.palette().color(QPalette::Light).rgb(); }

    RecordingHost host;
    QWidget window;
    CLine line {host, &window};
};

TEST_F(CLineTest, TakesItsDirectionFromItsShapeAndIsTwoPixelsThick)
{
    struct Case
    {
        QSize placed;
        QSize result;
        int orientation;
    };
    // At 15 twips per pixel: 3480 x 30 stays, 300 x 1200 becomes 30 x 1200.
    const Case cases[] = {
        {{232, 2}, {232, 2}, 0},
        {{20, 80}, {2, 80}, 1},
        {{40, 10}, {40, 2}, 0},
        {{10, 10}, {2, 10}, 1},
        // Trimmed to 2 x 0, the line is wider than tall for one more round.
        {{0, 0}, {2, 2}, 1},
    };
    for (const Case &c : cases) {
        line.resize(c.placed);
        EXPECT_EQ(line.size(), c.result) << c.placed.width() << " x " << c.placed.height();
        EXPECT_EQ(line.Orientation(), c.orientation);
    }
    EXPECT_TRUE(host.changes.isEmpty()) << "a resize changes no stored property";
}

TEST_F(CLineTest, DrawsShadowThenHighlight)
{
    line.resize(232, 2);
    QImage image = line.grab().toImage();
    for (int x : {0, 100, 231}) {
        EXPECT_EQ(image.pixel(x, 0), shadow()) << x;
        EXPECT_EQ(image.pixel(x, 1), highlight()) << x;
    }

    line.resize(20, 80);
    image = line.grab().toImage();
    ASSERT_EQ(image.size(), QSize(2, 80));
    for (int y : {0, 40, 79}) {
        EXPECT_EQ(image.pixel(0, y), shadow()) << y;
        EXPECT_EQ(image.pixel(1, y), highlight()) << y;
    }
}

TEST_F(CLineTest, OrientationFollowsTheShapeWhateverIsSet)
{
    line.resize(232, 2);
    line.setOrientation(1);
    EXPECT_EQ(line.Orientation(), 0);
    EXPECT_EQ(line.size(), QSize(232, 2));
    EXPECT_EQ(host.changes, QStringList {"Orientation"});

    CLine hidden(host);
    hidden.resize(5, 40);
    hidden.setOrientation(0);
    EXPECT_EQ(hidden.Orientation(), 1) << "the setter lays out a line that is not shown yet";
    EXPECT_EQ(hidden.size(), QSize(2, 40));
}

TEST_F(CLineTest, StoresOnlyAVerticalOrientation)
{
    line.resize(232, 2);
    PropertyBag bag;
    line.WriteProperties(bag);
    EXPECT_TRUE(bag.toJson().isEmpty());

    CLine loaded(host);
    loaded.ReadProperties(bag);
    EXPECT_EQ(loaded.Orientation(), 0);
    loaded.ReadProperties(PropertyBag::fromJson({{"orientation", 1}}));
    EXPECT_EQ(loaded.Orientation(), 1) << "loading does not lay out";
    loaded.WriteProperties(bag);
    EXPECT_EQ(bag.toJson(), QJsonObject({{"orientation", 1}}));
}

TEST_F(CLineTest, AMouseReleaseOverItEndsAnyMouseGrab)
{
    QWidget grabber(&window);
    grabber.show();
    grabber.grabMouse();
    ASSERT_EQ(QWidget::mouseGrabber(), &grabber);

    line.resize(232, 2);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 1), line.mapToGlobal(QPointF(5, 1)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&line, &release);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

} // namespace
