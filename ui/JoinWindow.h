#pragma once

#include "engine/JoinRun.h"
#include "engine/Prompter.h"

#include <QDialog>
#include <QElapsedTimer>

#include <memory>

namespace modMorlend {
class RunControl;
}
class CloseRequests;
class Platform;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class TextBox;

// The small window of a file manager's "Join pieces": what a join script joins (the name, how
// many pieces, how large the whole), the folder it goes into and whether the pieces go once it
// is joined, the progress and the result. Enter joins; Escape or Cancel stops a join at once,
// and otherwise closes the window, as its close button does.
class JoinWindow : public QDialog, private Prompter
{
    Q_OBJECT

public:
    JoinWindow(Prompter &prompter, Platform &platform, const modMorlend::JoinRequest &request,
               QWidget *parent = nullptr);
    ~JoinWindow() override;

    // Joins as the window's controls say, as the Join button does.
    void join();
    bool isJoining() const { return m_running != nullptr; }
    // The last join's outcome, when one ended.
    std::optional<modMorlend::JoinOutcome> outcome() const { return m_outcome; }

    // Escape and Cancel: a join stops; otherwise the window closes.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void build();
    void showSet();
    void showProgress(qint64 written, qint64 length);
    void showOutcome(const modMorlend::JoinOutcome &outcome);
    void showResult(const QString &message);
    // The folder box, the removal box and Join: what a join is asked to do.
    void setChoicesEnabled(bool enabled);
    // The window answers its desktop and the user between two steps of a join, once a frame.
    void keepAlive();
    // What the join asks goes to the prompter over the window as the join left it.
    Reply ask(const Message &message) override;
    // Stops the join going on, and closes the window once it has ended.
    void closeAfterJoin();

    Prompter &m_prompter;
    Platform &m_platform;
    modMorlend::JoinRequest m_request;
    std::optional<modMorlend::JoinOutcome> m_outcome;
    // The join going on, which Escape, Cancel and closing the window stop.
    modMorlend::RunControl *m_running = nullptr;
    bool m_closeAfterJoin = false;
    // The pieces are on floppy disks.
    bool m_onDisks = false;
    std::unique_ptr<CloseRequests> m_closeRequests;
    QElapsedTimer m_sinceAnswered;
    // The progress of the join as it last told it, which the window may not show yet.
    int m_progressTold = 0;

    QLabel *m_name = nullptr;
    QLabel *m_pieces = nullptr;
    TextBox *m_folder = nullptr;
    QCheckBox *m_removePieces = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_result = nullptr;
    QPushButton *m_join = nullptr;
    QPushButton *m_cancel = nullptr;
};

// Shows the window for request and returns the program's exit status once it is closed: the
// last join's outcome, or 0 when none ended.
int runJoinWindow(int &argc, char **argv, const modMorlend::JoinRequest &request);
