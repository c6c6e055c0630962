#pragma once

#include <QList>
#include <QUrl>
#include <QWidget>

// A stand-in for a file manager's file icon: a press on it drags the files as a file manager
// does, and the action the drop target answers is printed when the drag ends.
class DragSource : public QWidget
{
public:
    // offered: copy, move and link, as most file managers offer; or the move alone, as a GTK
    // file manager offers when Shift is held.
    DragSource(const QList<QUrl> &files, Qt::DropActions offered, QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QList<QUrl> m_files;
    Qt::DropActions m_offered;
};
