#include "ui/StandardControls.h"

#include "controls/Frame.h"
#include "controls/ImageBox.h"
#include "controls/OptionButton.h"
#include "controls/PictureBox.h"
#include "controls/PropertyBag.h"
#include "controls/TextBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <array>
#include <functional>
#include <type_traits>

using namespace Qt::StringLiterals;

namespace StandardControls {
namespace {

const QString Caption = u"Caption"_s;
const QString Text = u"Text"_s;
const QString Value = u"Value"_s;

// The classic check box values, by stored number: unticked, ticked, greyed.
constexpr std::array<Qt::CheckState, 3> CheckValues {Qt::Unchecked, Qt::Checked,
                                                     Qt::PartiallyChecked};

// The classic label alignments, by stored number.
constexpr std::array<Qt::Alignment, 3> LabelAlignments {Qt::AlignLeft, Qt::AlignRight,
                                                        Qt::AlignHCenter};

// The stored number of a value; 0 for one that has none.
template<typename Value, std::size_t Count>
qint32 indexOf(const std::array<Value, Count> &values, Value value)
{
    const auto found = std::find(values.cbegin(), values.cend(), value);
    return found == values.cend() ? 0 : qint32(found - values.cbegin());
}

// Each kind's stored properties, in the order they are read and written. Reading and writing
// walk the same list: exchange(key, get, set, default) takes a property's key, how the control
// shows its value, how it takes one, and the default it is stored against.
template<typename Control> struct Properties;

template<> struct Properties<QGroupBox>
{
    static void walk(auto &&exchange)
    {
        exchange(Caption, &QGroupBox::title, &QGroupBox::setTitle, QString());
    }
};

template<> struct Properties<TextBox>
{
    static void walk(auto &&exchange)
    {
        exchange(Text, &TextBox::text, &TextBox::setText, QString());
        exchange(u"BackColor"_s, &TextBox::BackColor, &TextBox::setBackColor,
                 OleColor::WindowBackground);
        exchange(u"Locked"_s, &TextBox::isReadOnly, &TextBox::setReadOnly, false);
    }
};

template<> struct Properties<ImageBox>
{
    static void walk(auto &&exchange)
    {
        exchange(u"Picture"_s, &ImageBox::Picture, &ImageBox::setPicture, PictureRef());
        exchange(
            u"OLEDropMode"_s, [](const ImageBox &image) { return qint32(image.acceptDrops()); },
            [](ImageBox &image, qint32 mode) { image.setAcceptDrops(mode != 0); }, qint32(0));
    }
};

template<> struct Properties<QComboBox>
{
    static void walk(auto &&exchange)
    {
        exchange(Text, &QComboBox::currentText, &QComboBox::setEditText, QString());
    }
};

template<> struct Properties<QCheckBox>
{
    static void walk(auto &&exchange)
    {
        exchange(Caption, &QCheckBox::text, &QCheckBox::setText, QString());
        exchange(
            Value, [](const QCheckBox &box) { return indexOf(CheckValues, box.checkState()); },
            [](QCheckBox &box, qint32 value) {
                box.setTristate(value == 2);
                box.setCheckState(CheckValues.at(qBound(0, value, 2)));
            },
            qint32(0));
    }
};

template<> struct Properties<QRadioButton>
{
    static void walk(auto &&exchange)
    {
        exchange(Caption, &QRadioButton::text, &QRadioButton::setText, QString());
        exchange(Value, &QRadioButton::isChecked, &QRadioButton::setChecked, false);
    }
};

template<> struct Properties<PictureBox>
{
    static void walk(auto &&exchange)
    {
        exchange(u"ForeColor"_s, &PictureBox::foreColor, &PictureBox::setForeColor,
                 OleColor::ButtonText);
        exchange(u"ScaleWidth"_s, &PictureBox::scaleWidth, &PictureBox::setScaleWidth, 1.0);
        exchange(u"ScaleHeight"_s, &PictureBox::scaleHeight, &PictureBox::setScaleHeight, 1.0);
    }
};

template<> struct Properties<QLabel>
{
    static void walk(auto &&exchange)
    {
        exchange(Caption, &QLabel::text, &QLabel::setText, QString());
        exchange(
            u"Alignment"_s,
            [](const QLabel &label) {
                return indexOf(LabelAlignments, label.alignment() & Qt::AlignHorizontal_Mask);
            },
            [](QLabel &label, qint32 alignment) {
                label.setAlignment(LabelAlignments.at(qBound(0, alignment, 2)) | Qt::AlignTop);
            },
            qint32(0));
    }
};

template<typename Control> void read(Control &control, const PropertyBag &bag)
{
    Properties<Control>::walk([&](const QString &key, auto, auto set, const auto &defaultValue) {
        std::invoke(set, control, bag.readProperty(key, defaultValue));
    });
}

template<typename Control> void write(const Control &control, PropertyBag &bag)
{
    Properties<Control>::walk([&](const QString &key, auto get, auto, const auto &defaultValue) {
        using Value = std::remove_cvref_t<decltype(defaultValue)>;
        bag.writeProperty(key, Value(std::invoke(get, control)), defaultValue);
    });
}

struct Kind
{
    QString name;
    QWidget *(*create)(QWidget *parent);
    void (*read)(QWidget &control, const PropertyBag &bag);
    void (*write)(const QWidget &control, PropertyBag &bag);
};

// A kind whose controls are made as Control and keep the properties of Stored.
template<typename Control, typename Stored = Control> Kind kind(const QString &name)
{
    return {
        name,
        [](QWidget *parent) -> QWidget * { return new Control(parent); },
        [](QWidget &control, const PropertyBag &bag) { read(static_cast<Stored &>(control), bag); },
        [](const QWidget &control, PropertyBag &bag) {
            write(static_cast<const Stored &>(control), bag);
        },
    };
}

const Kind *kindNamed(const QString &name)
{
    static const std::array kinds {
        kind<Frame, QGroupBox>(u"Frame"_s), kind<TextBox>(u"TextBox"_s),
        kind<ImageBox>(u"Image"_s),         kind<QComboBox>(u"ComboBox"_s),
        kind<QCheckBox>(u"CheckBox"_s),     kind<OptionButton, QRadioButton>(u"OptionButton"_s),
        kind<PictureBox>(u"PictureBox"_s),  kind<QLabel>(u"Label"_s),
    };
    const auto found = std::find_if(kinds.cbegin(), kinds.cend(),
                                    [&](const Kind &kind) { return kind.name == name; });
    return found == kinds.cend() ? nullptr : &*found;
}

} // namespace

QWidget *create(const QString &kind, QWidget *parent)
{
    const Kind *found = kindNamed(kind);
    if (!found)
        return nullptr;
    QWidget *control = found->create(parent);
    if (auto *box = qobject_cast<QComboBox *>(control)) {
        // The size box is a list plus a free text that the program reads as it was typed.
        // Qt's editable combo box would complete the text inline from the list ("730" shown
        // as "730 112"), add what Enter confirms to the list, and take text dropped on it.
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
        box->lineEdit()->setAcceptDrops(false);
    }
    return control;
}

void readProperties(const QString &kind, QWidget &control, const PropertyBag &bag)
{
    kindNamed(kind)->read(control, bag);
    control.setEnabled(bag.readProperty(u"Enabled"_s, true));
}

void writeProperties(const QString &kind, const QWidget &control, PropertyBag &bag)
{
    kindNamed(kind)->write(control, bag);
    bag.writeProperty(u"Enabled"_s, !control.testAttribute(Qt::WA_ForceDisabled), true);
}

} // namespace StandardControls
