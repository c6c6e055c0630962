#pragma once

#include <QtGlobal>

class QString;

namespace modMorlend {

// The window as the cutting engine sees it: what the user chose for a cut, and where the engine
// shows what it planned and did. The window implements it over its controls; the engine's tests
// over plain values.
class EngineView
{
public:
    virtual ~EngineView() = default;

    // The size box's text, as typed or picked.
    virtual QString pieceSizeText() const = 0;
    // Whether the pieces go into the folder of the folder box rather than onto the floppy.
    virtual bool writesIntoFolder() const = 0;
    virtual QString folderText() const = 0;
    // Shows a tidied folder in the folder box. The window handles it as it handles the user's
    // edits, before this returns.
    virtual void setFolderText(const QString &folder) = 0;
    // Whether "Clear disk before copying" is enabled and ticked (or greyed).
    virtual bool clearBoxIsOn() const = 0;

    virtual void showEstimate(const QString &text) = 0;
    // Shows the file to cut and its length in bytes in the source box.
    virtual void showSource(const QString &path, qint64 length) = 0;
    // Erases the progress box and scales it to count steps, for a run to fill.
    virtual void startProgress(qint64 count) = 0;
    // Shows index of count steps as done; a negative index erases the progress box. During a
    // run the window reaches the screen at most once a frame, and answers its desktop then.
    virtual void showProgress(qint64 index, qint64 count) = 0;
    // Shows the piece after index pieces as copied in part, fraction of it (0 to 1): a long
    // piece fills the progress box as it is copied, not only once it is whole. The caption
    // counts whole pieces.
    virtual void showPieceProgress(qint64 index, double fraction) = 0;
    // Between two steps of a piece's copy: at most once a frame, the window answers its
    // desktop, as after a piece.
    virtual void keepAlive() = 0;
    // The run leaves the window to a message: it reaches the screen as it stands, and what the
    // user typed or clicked meanwhile is dropped, as a modal box drops what comes before it.
    virtual void yieldToMessage() = 0;
    // The run is over: the window reaches the screen as it stands, and what the user typed or
    // clicked during the run is dropped, so that nothing of it acts after the run.
    virtual void endRun() = 0;
};

} // namespace modMorlend
