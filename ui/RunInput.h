#pragma once

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

class QEvent;

// The user's input held back while a run lets its window answer the desktop. Installed on
// windows for such a moment, it takes every key, click, pointer move and wheel turn the window
// system brings them and keeps it, in order, before the window hands it to a control; drags
// and drops are refused. Everything else (paints, exposes, moves, the window manager's
// requests) goes through.
class HeldInput : public QObject
{
public:
    HeldInput();
    ~HeldInput() override;

    // Posts what was held to its receivers, in the order it came, as if it came now.
    void handBack();
    // Forgets what was held.
    void drop();
    bool isEmpty() const { return m_held.empty(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Held
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };

    std::vector<Held> m_held;
};
