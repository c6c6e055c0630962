#pragma once

#include <QString>

// The one way the program asks the user something or tells them something: a modal message
// with an icon and OK, or OK and Cancel. The window shows real message boxes; tests answer
// from a script.
class Prompter
{
public:
    enum class Icon
    {
        Error,
        Warning,
        Information,
    };
    enum class Buttons
    {
        Ok,
        OkCancel,
    };
    enum class Reply
    {
        Ok,
        Cancel,
    };

    static inline const QString DefaultTitle = QStringLiteral("Morlend");

    struct Message
    {
        QString text;
        Icon icon = Icon::Information;
        Buttons buttons = Buttons::Ok;
        QString title = DefaultTitle;
        // Enter answers Cancel: for a question whose OK replaces the user's files, which a key
        // pressed by habit, or Enter held since the cut began, must not answer.
        bool cancelIsDefault = false;

        bool operator==(const Message &) const = default;
    };

    virtual ~Prompter() = default;

    // Shows the message and waits for the user's answer; a message with OK alone answers Ok.
    virtual Reply ask(const Message &message) = 0;
};
