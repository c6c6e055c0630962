#pragma once

#include <QString>

namespace modMorlend {

// Thrown to end a cutting run with a message of its own rather than the general error
// message: a refusal before anything is written, or a stop that explains itself.
struct StopRun
{
    QString message;
};

} // namespace modMorlend
