#include "MorlendVersion.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morlend"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Morlend %1.%2.%3")
                              .arg(MorlendVersionMajor)
                              .arg(MorlendVersionMinor)
                              .arg(MorlendVersionRevision));
    window.show();
    return QApplication::exec();
}
