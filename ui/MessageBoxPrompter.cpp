#include "ui/MessageBoxPrompter.h"

#include "controls/MouseCapture.h"
#include "platform/StopSignals.h"

#include <QMessageBox>
#include <QSocketNotifier>

#include <memory>

MessageBoxPrompter::MessageBoxPrompter(QWidget *parent)
    : m_parent(parent)
{
}

Prompter::Reply MessageBoxPrompter::ask(const Message &message)
{
    const QMessageBox::Icon icon = [&message] {
        switch (message.icon) {
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Information:
            break;
        }
        return QMessageBox::Information;
    }();
    const QMessageBox::StandardButtons buttons = message.buttons == Buttons::OkCancel
        ? QMessageBox::Ok | QMessageBox::Cancel
        : QMessageBox::Ok;
    QMessageBox box(icon, message.title, message.text, buttons, m_parent);
    if (message.cancelIsDefault)
        box.setDefaultButton(QMessageBox::Cancel);
    // A run's box answers itself with Cancel when the session ends meanwhile: no one is left to
    // answer it, and the run stops.
    std::unique_ptr<QSocketNotifier> stopSignal;
    if (StopSignals::wakeUpDescriptor() >= 0) {
        stopSignal = std::make_unique<QSocketNotifier>(StopSignals::wakeUpDescriptor(),
                                                       QSocketNotifier::Read);
        QObject::connect(stopSignal.get(), &QSocketNotifier::activated, &box, [&box] {
            StopSignals::drain();
            if (StopSignals::received() != 0)
                box.done(QMessageBox::Cancel);
        });
    }
    releaseMouseCapture();
    return box.exec() == QMessageBox::Ok ? Reply::Ok : Reply::Cancel;
}
