#include "controls/KeyCodes.h"

#include <QKeyEvent>

qint16 keyCodeOf(const QKeyEvent &event)
{
    const int key = event.key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return KeyCodes::Enter;
    if (key == Qt::Key_Escape)
        return KeyCodes::Escape;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return qint16(KeyCodes::F1 + key - Qt::Key_F1);
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return qint16(key);
    return 0;
}
