#pragma once

#include "controls/ImageBox.h"
#include "tests/support/WindowDrag.h"

#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

// A window with a drop area in it, and a drag of one file as a file manager makes it.
class DropAreaWindow : public ::testing::Test
{
protected:
    DropAreaWindow()
    {
        window.resize(200, 100);
        box.setGeometry(20, 20, 100, 30);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        WindowDrag::carryFiles(files, {"/tmp/clip.avi"});
        QObject::connect(&box, &ImageBox::OLEDragDrop,
                         [this](const QMimeData *data) { dropped += data->urls().size(); });
    }

    QWidget window;
    ImageBox box {&window};
    QMimeData files;
    int dropped = 0;
    const QPoint over {60, 35};
    const QPoint beside {150, 80};
    static constexpr Qt::DropActions Any = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
};
