#include "controls/ImageBox.h"
#include "controls/PButton.h"
#include "platform/Platform.h"
#include "resources/Artwork.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedPrompter.h"
#include "ui/Form1.h"

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QTest>

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// The window on a screen of the density that Qt's scale factor gives this run.
class DenseScreen : public ::testing::Test
{
protected:
    DenseScreen()
    {
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    // The picture as the screen shows it: at its own size in its device pixels.
    static QImage picture(const char *name)
    {
        Artwork::registerResource();
        return StdPicture::load(QString(":/resources/") + name)
            ->imageAt(qApp->devicePixelRatio())
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }

    // How many pixels of two images of one size differ by more than tolerance in a colour or
    // in their opacity.
    static int differing(const QImage &a, const QImage &b, int tolerance)
    {
        EXPECT_EQ(a.size(), b.size());
        int count = 0;
        for (int y = 0; y < std::min(a.height(), b.height()); ++y) {
            for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                count += std::abs(qRed(p) - qRed(q)) > tolerance
                    || std::abs(qGreen(p) - qGreen(q)) > tolerance
                    || std::abs(qBlue(p) - qBlue(q)) > tolerance
                    || std::abs(qAlpha(p) - qAlpha(q)) > tolerance;
            }
        }
        return count;
    }

    // A rectangle of the window's pixels in the screen's device pixels.
    static QRect device(const QRect &pixels)
    {
        const qreal ratio = qApp->devicePixelRatio();
        return QRect((QPointF(pixels.topLeft()) * ratio).toPoint(),
                     (QSizeF(pixels.size()) * ratio).toSize());
    }

    ScriptedPrompter prompter;
    Platform platform;
    Form1 form {prompter, platform};
};

TEST_F(DenseScreen, RunsAtTheScaleFactorOfItsRun)
{
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    EXPECT_EQ(qApp->devicePixelRatio(), factor.isEmpty() ? 1.0 : factor.toDouble());
}

// At a scale factor of 1.25 the key caps were the small pictures blown up, and "ESC" was
// barely legible.
TEST_F(DenseScreen, DrawsTheKeyCapsFromThePicturesDrawnAtTwiceTheirSize)
{
    struct Case
    {
        PButton *button;
        const char *picture;
        QSize size;
    };
    const Case cases[] = {
        {form.cbCut, "ent.bmp", {21, 10}},
        {form.cbExit, "esc.bmp", {21, 10}},
        {form.cbAbout, "f1.bmp", {14, 10}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.picture);
        const QImage shown
            = c.button->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(shown.size(), device(c.button->rect()).size());
        // The worked example's place: (4, 7) of the normal look.
        const QImage cap = shown.copy(
            QRect(device(QRect(QPoint(4, 7), c.size)).topLeft(), picture(c.picture).size()));
        EXPECT_EQ(differing(cap, picture(c.picture), 2), 0);
    }
}

TEST_F(DenseScreen, ShowsTheDropAreaFromThePictureDrawnAtTwiceItsSize)
{
    const QPixmap bar = form.imgDnD->pixmap();
    EXPECT_EQ(bar.devicePixelRatio(), qApp->devicePixelRatio());
    EXPECT_EQ(form.imgDnD->size(), QSize(205, 21));
    const QImage shown = bar.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(differing(shown, picture("dnd.gif"), 2), 0);
}

// The window's face has no bold of its own. Qt's thickened glyphs add about a fifth of ink to
// a caption at the window's own size, where the face has bitmaps to thicken, but only a tenth
// or so on a denser screen; the caption drawn once more adds over a third there.
TEST_F(DenseScreen, DrawsTheGroupCaptionsBold)
{
    const auto ink = [](QWidget *frame) {
        const QImage image = frame->grab(QRect(0, 0, frame->width(), 12)).toImage();
        double sum = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                sum += 255 - qGray(image.pixel(x, y));
        }
        return sum;
    };
    const double least = qApp->devicePixelRatio() > 1 ? 1.35 : 1.15;
    for (QGroupBox *frame : {form.Frame1, form.Frame2, form.Frame3}) {
        SCOPED_TRACE(frame->title().toStdString());
        const double bold = ink(frame);
        QFont regular = frame->font();
        regular.setBold(false);
        frame->setFont(regular);
        EXPECT_GT(bold, least * ink(frame)) << "bold against regular";
    }
}

} // namespace
