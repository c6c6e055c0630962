#pragma once

#include "EngineControls.h"
#include "EngineState.h"

namespace modMorlend {

// The cutting engine: the shared state and the procedures that plan, show and run a cut.
// The program makes one for its lifetime; every test makes a fresh one.
class Engine
{
public:
    explicit Engine(const EngineControls &controls);

    EngineState &state() { return m_state; }
    const EngineState &state() const { return m_state; }

    // Recomputes the piece plan from the size box and the source, and shows it. Never fails:
    // on a failure the estimate box keeps its text and the progress display is reset.
    void UpdateEstimate();
    // Shows the notice for a source on the disk to be cleared, or else the estimate.
    void RefreshEstimate();
    // Shows index of PieceCount pieces as written; a negative index resets the display.
    void ShowProgress(qint64 index);

private:
    void showEstimate();

    EngineControls m_controls;
    EngineState m_state;
};

} // namespace modMorlend
