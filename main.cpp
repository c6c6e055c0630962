#include "Form1.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morlend"));
    // The window is laid out for classic bevelled controls, which this style draws.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));

    Form1 window;
    window.show();
    return QApplication::exec();
}
