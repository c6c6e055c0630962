#pragma once

#include "controls/PButton.h"
#include "controls/PropertyBag.h"
#include "tests/controls/RecordingHost.h"

#include <QTest>

#include <gtest/gtest.h>

// A button loaded from a stored layout into a shown window, with helpers that read its
// state strip and what it shows.
class ButtonFixture : public ::testing::Test
{
protected:
    ButtonFixture()
    {
        window.resize(200, 100);
        button.move(50, 30);
        button.resize(70, 25);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void load(const QJsonObject &layout) { button.ReadProperties(PropertyBag::fromJson(layout)); }

    // Look r of the strip, as high and wide as the button.
    QImage stripRow(int row) const
    {
        const int height = button.height();
        return button.StateStrip().hDC()->copy(0, row * height, button.width(), height);
    }
    QImage shown() { return button.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The row of the strip that the button shows, or -1 when it shows none of them.
    int look()
    {
        const QImage image = shown();
        for (int row = 0; row < 4; ++row) {
            if (stripRow(row) == image)
                return row;
        }
        return -1;
    }
    QRgb paletteRgb(QPalette::ColorRole role) const { return button.palette().color(role).rgb(); }

    RecordingHost host;
    QWidget window;
    PButton button {host, &window};
};
