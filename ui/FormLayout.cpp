#include "ui/FormLayout.h"

#include "platform/AppError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The keys of a control's own entry; its stored properties sit under "properties".
const QString NameKey = u"name"_s;
const QString IndexKey = u"index"_s;
const QString KindKey = u"kind"_s;
const QString ContainerKey = u"container"_s;
const QString LeftKey = u"left"_s;
const QString TopKey = u"top"_s;
const QString WidthKey = u"width"_s;
const QString HeightKey = u"height"_s;
const QString TabIndexKey = u"tabindex"_s;
const QString PropertiesKey = u"properties"_s;
const QString ControlsKey = u"controls"_s;

int integerOf(const QJsonObject &object, const QString &key, int missing)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return missing;
    if (!value.isDouble())
        throw AppError(AppError::TypeMismatch);
    return value.toInt();
}

QString textOf(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (!value.isString())
        throw AppError(AppError::TypeMismatch);
    return value.toString();
}

FormLayout::Control controlOf(const QJsonObject &entry)
{
    FormLayout::Control control;
    control.name = textOf(entry, NameKey);
    control.index = integerOf(entry, IndexKey, -1);
    control.kind = textOf(entry, KindKey);
    control.container = textOf(entry, ContainerKey);
    const int left = integerOf(entry, LeftKey, 0);
    const int top = integerOf(entry, TopKey, 0);
    const int width = integerOf(entry, WidthKey, 0);
    const int height = integerOf(entry, HeightKey, 0);
    // A rectangle keeps its far edges as integers too: a size below 0, or one that ends beyond
    // them, is no place.
    const auto endsInRange = [](int start, int length) {
        return length >= 0 && qint64(start) + length - 1 <= std::numeric_limits<int>::max();
    };
    if (!endsInRange(left, width) || !endsInRange(top, height))
        throw AppError(AppError::Overflow);
    control.twips = QRect(left, top, width, height);
    control.tabIndex = integerOf(entry, TabIndexKey, -1);
    control.properties = PropertyBag::fromJson(entry.value(PropertiesKey).toObject());
    return control;
}

QJsonObject entryOf(const FormLayout::Control &control)
{
    QJsonObject entry {
        {NameKey, control.name},
        {KindKey, control.kind},
        {ContainerKey, control.container},
        {LeftKey, control.twips.left()},
        {TopKey, control.twips.top()},
        {WidthKey, control.twips.width()},
        {HeightKey, control.twips.height()},
        {PropertiesKey, control.properties.toJson()},
    };
    if (control.index >= 0)
        entry.insert(IndexKey, control.index);
    if (control.tabIndex >= 0)
        entry.insert(TabIndexKey, control.tabIndex);
    return entry;
}

} // namespace

LayoutError::LayoutError(const QString &what)
    : std::runtime_error((u"The window's stored layout cannot be read: "_s + what).toStdString())
{
}

FormLayout FormLayout::fromJson(const QByteArray &json)
{
    QJsonParseError parsing {};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parsing);
    if (!document.isObject())
        throw LayoutError(u"it is no JSON object ("_s + parsing.errorString() + u")"_s);
    const QJsonObject root = document.object();
    FormLayout layout;
    try {
        layout.name = textOf(root, NameKey);
    } catch (const AppError &) {
        throw LayoutError(u"the window has no name"_s);
    }
    layout.properties = PropertyBag::fromJson(root.value(PropertiesKey).toObject());
    const QJsonArray entries = root.value(ControlsKey).toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        try {
            layout.controls.append(controlOf(entries.at(i).toObject()));
        } catch (const AppError &error) {
            throw LayoutError(u"control entry %1: "_s.arg(i + 1) + error.description());
        }
    }
    return layout;
}

QByteArray FormLayout::toJson() const
{
    QJsonArray entries;
    for (const Control &control : controls)
        entries.append(entryOf(control));
    const QJsonObject root {
        {NameKey, name},
        {PropertiesKey, properties.toJson()},
        {ControlsKey, entries},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
