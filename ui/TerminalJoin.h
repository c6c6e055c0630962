#pragma once

namespace modMorlend {
struct JoinRequest;
}

// Joins as `morlend --join` asks, in the terminal and without a display: the progress and every
// message on standard error, a question answered at the terminal (or Cancel where there is
// none). Returns the exit status, the outcome's kind; a stop signal ends the program as the
// signal ends it, once nothing is left behind.
int joinInTerminal(const modMorlend::JoinRequest &request);
