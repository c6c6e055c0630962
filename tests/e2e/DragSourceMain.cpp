#include "tests/e2e/DragSource.h"

#include <QApplication>
#include <QTextStream>

// morlend_drag_source [--move-only] FILE...: shows a small window at the top left of the
// screen; pressing the left button on it drags the files, offering copy, move and link, or
// with --move-only the move alone. It prints the action each drop answered and runs until it
// is closed.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList paths = QApplication::arguments().mid(1);
    const bool moveOnly = !paths.isEmpty() && paths.first() == QStringLiteral("--move-only");
    if (moveOnly)
        paths.removeFirst();
    QList<QUrl> files;
    for (const QString &path : paths)
        files << QUrl::fromLocalFile(path);
    if (files.isEmpty()) {
        QTextStream(stderr) << "usage: morlend_drag_source [--move-only] FILE..." << Qt::endl;
        return 2;
    }
    DragSource source(files,
                      moveOnly ? Qt::MoveAction : Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
    source.move(0, 0);
    source.show();
    return QApplication::exec();
}
