#pragma once

#include "engine/EngineState.h"
#include "engine/FloppyDisks.h"
#include "engine/OutputSet.h"
#include "engine/PieceWriter.h"
#include "engine/RunControl.h"
#include "engine/SourceFile.h"

#include <optional>

namespace modMorlend {

// What one cut keeps from its start to its end, beside the shared state: the user's say in it,
// the file being cut, the set it writes, the writer of that set's files and, for a floppy run,
// the disks. The engine makes one when a cut starts and drops it when the cut ends.
struct CutRun
{
    CutRun(EngineView &view, Prompter &prompter, const Platform &platform, EngineState &state)
        : control(view, prompter)
        , outputs(platform, state, control)
        , writer(platform, outputs, state.PieceBuffer)
        , disks(platform, view, state, control, outputs, writer)
    {
    }

    RunControl control;
    // Open from the run's first read to its last.
    std::optional<SourceFile> source;
    OutputSet outputs;
    PieceWriter writer;
    FloppyDisks disks;
    // Where in the source the piece being copied starts, and how long it is.
    qint64 pieceStart = 0;
    qint64 pieceLength = 0;
    // From the first piece on, the run works on its plan; an estimate asked for meanwhile
    // (through assistive technology, while the window answers) waits until the run ends.
    bool writingPieces = false;
    bool estimateDue = false;
    // The pieces the join script has lines for.
    qint64 piecesInScript = 0;
    // The run ended with a failure message.
    bool failed = false;
};

} // namespace modMorlend
