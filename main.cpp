#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/StopSignals.h"
#include "ui/CommandLine.h"
#include "ui/DisplayChoice.h"
#include "ui/Form1.h"
#include "ui/FormLayout.h"
#include "ui/MessageBoxPrompter.h"
#include "ui/SourceCheck.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcessEnvironment>
#include <QStyleFactory>

#include <memory>

int main(int argc, char *argv[])
{
    // A Wayland desktop that runs X11 programs too: through it the window stays on top and
    // comes up in the middle of the screen, which Wayland lets no program do.
    if (runsThroughX11(QProcessEnvironment::systemEnvironment(), argc, argv))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // --join, --help and --version are answered before any display is opened.
    if (const std::optional<int> status = runCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    // A stop signal during a cut lets it end with a consistent set; otherwise it ends the
    // program at once, as ever.
    StopSignals::install();
    QApplication::setApplicationName(QStringLiteral("Morlend"));
    // The window is laid out for classic bevelled controls, which this style draws.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));

    // The system's own floppy, temporary folder and command interpreter, and real message boxes.
    Platform platform;
    MessageBoxPrompter prompter;
    std::unique_ptr<Form1> window;
    try {
        window = std::make_unique<Form1>(prompter, platform);
    } catch (const LayoutError &error) {
        // The layout is built into the program, so only a broken build gets here.
        qCritical("%s", error.what());
        QMessageBox::critical(nullptr, QApplication::applicationName(), error.message());
        return 1;
    }
    prompter.setWindow(window.get());
    window->show();
    // A file given to the program (a file manager's "Open with", a drag onto its launcher) is
    // taken as a drop; Qt has taken its own options out of argv by now.
    if (argc > 1)
        window->takeFile(addressOfArgument(argv[1], FileSystem::workingFolder()));
    const int status = QApplication::exec();
    if (StopSignals::received() != 0) {
        window.reset();
        StopSignals::endAsReceived();
    }
    return status;
}
