#include "DragSource.h"

#include <QApplication>
#include <QTextStream>

// morlend_drag_source FILE...: shows a small window at the top left of the screen; pressing
// the left button on it drags the files. It prints the action each drop answered and runs
// until it is closed.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QList<QUrl> files;
    for (const QString &path : QApplication::arguments().mid(1))
        files << QUrl::fromLocalFile(path);
    if (files.isEmpty()) {
        QTextStream(stderr) << "usage: morlend_drag_source FILE..." << Qt::endl;
        return 2;
    }
    DragSource source(files);
    source.move(0, 0);
    source.show();
    return QApplication::exec();
}
