#pragma once

#include <QString>

namespace modMorlend {

// Thrown to end a cutting run with a message of its own rather than the general error
// message: a refusal before anything is written, or a stop that explains itself.
struct StopRun
{
    QString message;
    // The message tells what is left of the set; otherwise the run adds that when pieces were
    // written.
    bool explainsTheSet = false;
};

} // namespace modMorlend
