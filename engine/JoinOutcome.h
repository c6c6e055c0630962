#pragma once

#include <QString>

namespace modMorlend {

// How a join ended, with what the user is told. The command line turns the kind into its exit
// status, so the kinds keep their numbers.
struct JoinOutcome
{
    enum class Kind
    {
        // The whole is written, and the pieces and the script removed when that was asked.
        Joined = 0,
        // Reading a piece or writing the whole failed on the way; nothing was written.
        Failed = 1,
        // The script is not one that a cut writes, or its set is incomplete.
        NotAScript = 3,
        // A piece is missing or not of its length, or the destination cannot take the whole.
        NotJoinable = 4,
        // The joined file's name is taken, and the user did not agree to replace it.
        NotReplaced = 5,
        // The whole is written, but some pieces or the script were kept.
        PiecesKept = 6,
        // Escape, the window closed, or a stop signal; nothing was written.
        Stopped = 7,
    };

    Kind kind = Kind::Failed;
    QString message;

    bool operator==(const JoinOutcome &) const = default;
};

// Thrown inside a join to end it with its own outcome.
struct JoinStop
{
    JoinOutcome::Kind kind;
    QString message;
};

} // namespace modMorlend
