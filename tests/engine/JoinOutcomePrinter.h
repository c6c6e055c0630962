#pragma once

#include "engine/JoinOutcome.h"

#include <ostream>

namespace modMorlend {

// A join's outcome as a failed expectation shows it: the kind's number and the message.
inline void PrintTo(const JoinOutcome &outcome, std::ostream *out)
{
    *out << int(outcome.kind) << ": " << outcome.message.toStdString();
}

} // namespace modMorlend
