// Times one cutting run through the real window: the source, the piece size and the folder
// come from the command line, the window is shown on the offscreen platform so that every
// progress repaint is paid for, and the Cut button's Click starts the run. Prints the run's
// time and the process's peak memory, one "name value" pair a line.

#include "bench/OkPrompter.h"
#include "controls/PButton.h"
#include "controls/TextBox.h"
#include "engine/Engine.h"
#include "platform/Platform.h"
#include "ui/Form1.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTest>

#include <cstdio>
#include <sys/resource.h>

namespace {

long peakKibibytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int usage()
{
    std::fprintf(stderr, "usage: morlend_bench SOURCE PIECE_SIZE DESTINATION_FOLDER\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morlend"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 4)
        return usage();

    OkPrompter prompter;
    Platform platform;
    Form1 form(prompter, platform);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;

    modMorlend::Engine &engine = form.engine();
    engine.state().SourcePath = arguments[1];
    form.cmbFilesize->setEditText(arguments[2]);
    form.optWrite[0]->click();
    form.txtOut->setText(arguments[3]);
    engine.UpdateEstimate();
    const qint64 pieceCount = engine.state().PieceCount;
    const long idleKibibytes = peakKibibytes();

    QElapsedTimer timer;
    timer.start();
    emit form.cbCut->Click();
    const qint64 nanoseconds = timer.nsecsElapsed();

    std::printf("pieces %lld\n", pieceCount);
    std::printf("seconds %.6f\n", nanoseconds / 1e9);
    std::printf("idle_peak_kib %ld\n", idleKibibytes);
    std::printf("peak_kib %ld\n", peakKibibytes());
    std::printf("prompts %lld\n", qint64(prompter.asked().size()));
    for (const Prompter::Message &message : prompter.asked())
        std::printf("prompt %s\n", qPrintable(QString(message.text).replace(u'\n', u' ')));
    const QString finished = QStringLiteral("%1/%1").arg(pieceCount);
    if (!prompter.asked().isEmpty() || form.lblProg->text() != finished) {
        std::fprintf(stderr, "morlend_bench: the run did not complete (progress %s)\n",
                     qPrintable(form.lblProg->text()));
        return 1;
    }
    return 0;
}
