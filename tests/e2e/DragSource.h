#pragma once

#include <QList>
#include <QUrl>
#include <QWidget>

// A stand-in for a file manager's file icon: a press on it drags the files as a file manager
// does, and the action the drop target answers is printed when the drag ends.
class DragSource : public QWidget
{
public:
    explicit DragSource(const QList<QUrl> &files, QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QList<QUrl> m_files;
};
