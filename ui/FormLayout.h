#pragma once

#include "controls/PropertyBag.h"

#include <QList>
#include <QRect>
#include <QString>

#include <stdexcept>

class QByteArray;

// A stored layout that cannot be read or built, with what fails and where, in a sentence for
// the user: "The window's stored layout cannot be read: control cbCut: Type mismatch".
class LayoutError : public std::runtime_error
{
public:
    explicit LayoutError(const QString &what);
    QString message() const { return QString::fromUtf8(this->what()); }
};

// A window's stored layout: its own properties and, in stored order, every control with its
// kind, container, place, tab index and stored properties. Positions and sizes are in twips,
// as stored; a control inside a group box is placed relative to the box.
struct FormLayout
{
    struct Control
    {
        QString name;
        int index = -1; // the member of a control array; -1 for a control of its own
        QString kind;
        QString container;
        QRect twips;
        int tabIndex = -1; // -1 for a control that has none
        PropertyBag properties;
    };

    QString name;
    PropertyBag properties;
    QList<Control> controls;

    // Reads a layout file; throws LayoutError for a file that is not one.
    static FormLayout fromJson(const QByteArray &json);
    QByteArray toJson() const;
};
