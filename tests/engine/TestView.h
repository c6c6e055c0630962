#pragma once

#include "engine/EngineView.h"

#include <QList>
#include <QString>

#include <functional>

// The window as the engine's tests set and read it: plain values, starting as the window's
// controls start.
class TestView : public modMorlend::EngineView
{
public:
    QString pieceSizeText() const override { return sizeText; }
    bool writesIntoFolder() const override { return intoFolder; }
    QString folderText() const override { return folder; }
    void setFolderText(const QString &text) override
    {
        folder = text;
        // As the folder box raises its change handling: at once, even for the same text.
        if (onFolderChange)
            onFolderChange();
    }
    bool clearBoxIsOn() const override { return clearBoxEnabled && clearBoxTicked; }
    void showEstimate(const QString &text) override { estimate = text; }
    void showSource(const QString &path, qint64 length) override
    {
        source = path + QStringLiteral(" * ") + QString::number(length);
    }
    void startProgress(qint64 count) override
    {
        progressScale = count;
        filledTo = -1;
    }
    void showProgress(qint64 index, qint64 count) override
    {
        filledTo = index;
        progressCount = count;
        if (onProgress && index > 0)
            onProgress(index);
    }
    void showPieceProgress(qint64 index, double fraction) override
    {
        piecesInPart.append(double(index) + fraction);
    }
    void keepAlive() override
    {
        if (onStep)
            onStep();
    }
    void yieldToMessage() override { }
    void endRun() override { ++runsEnded; }

    // The progress as its label shows it: the steps filled and the count.
    QString progress() const
    {
        return QString::number(qMax<qint64>(filledTo, 0)) + u'/' + QString::number(progressCount);
    }

    QString sizeText;
    bool intoFolder = true;
    QString folder;
    bool clearBoxEnabled = false;
    bool clearBoxTicked = true;
    std::function<void()> onFolderChange;
    // Runs after each piece of a run is shown as written, with its number.
    std::function<void(qint64)> onProgress;
    // Runs between two steps of a piece's copy.
    std::function<void()> onStep;

    QString estimate = QStringLiteral("{0 files}");
    // The source box, with the length in plain digits.
    QString source = QStringLiteral("{none}");
    // The steps the progress box is scaled to, and how far it is filled (-1: erased).
    qint64 progressScale = 0;
    qint64 filledTo = -1;
    qint64 progressCount = 0;
    // What the copies showed between their steps: the pieces copied, whole and in part.
    QList<double> piecesInPart;
    int runsEnded = 0;
};
