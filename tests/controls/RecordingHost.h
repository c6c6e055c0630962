#pragma once

#include "controls/ControlHost.h"

#include <QStringList>
#include <QWidget>

// A window hosting custom controls, as far as they can tell: it hands out its font and the
// controls' names and records every property change they report.
class RecordingHost : public ControlHost
{
public:
    FontRef ambientFont() const override { return font; }
    QString instanceName(const QWidget &) const override { return name; }
    void propertyChanged(const QWidget &, const QString &propertyName) override
    {
        changes << propertyName;
    }

    FontRef font
        = std::make_shared<StdFont>(StdFont {"Tahoma", 8.25, false, false, false, false, 204});
    QString name = "cbCut";
    QStringList changes;
};
