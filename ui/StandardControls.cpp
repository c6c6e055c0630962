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

void read(QGroupBox &frame, const PropertyBag &bag)
{
    frame.setTitle(bag.readProperty(Caption, QString()));
}

void write(const QGroupBox &frame, PropertyBag &bag)
{
    bag.writeProperty(Caption, frame.title(), QString());
}

void read(TextBox &box, const PropertyBag &bag)
{
    box.setText(bag.readProperty(Text, QString()));
    box.setBackColor(bag.readProperty(u"BackColor"_s, OleColor::WindowBackground));
    box.setReadOnly(bag.readProperty(u"Locked"_s, false));
}

void write(const TextBox &box, PropertyBag &bag)
{
    bag.writeProperty(Text, box.text(), QString());
    bag.writeProperty(u"BackColor"_s, box.BackColor(), OleColor::WindowBackground);
    bag.writeProperty(u"Locked"_s, box.isReadOnly(), false);
}

void read(ImageBox &image, const PropertyBag &bag)
{
    image.setPicture(bag.readProperty(u"Picture"_s, PictureRef()));
    image.setAcceptDrops(bag.readProperty(u"OLEDropMode"_s, qint32(0)) != 0);
}

void write(const ImageBox &image, PropertyBag &bag)
{
    bag.writeProperty(u"Picture"_s, image.Picture(), PictureRef());
    bag.writeProperty(u"OLEDropMode"_s, qint32(image.acceptDrops() ? 1 : 0), qint32(0));
}

void read(QComboBox &box, const PropertyBag &bag)
{
    box.setEditText(bag.readProperty(Text, QString()));
}

void write(const QComboBox &box, PropertyBag &bag)
{
    bag.writeProperty(Text, box.currentText(), QString());
}

void read(QCheckBox &box, const PropertyBag &bag)
{
    box.setText(bag.readProperty(Caption, QString()));
    const qint32 value = bag.readProperty(Value, qint32(0));
    box.setTristate(value == 2);
    box.setCheckState(CheckValues.at(qBound(0, value, 2)));
}

void write(const QCheckBox &box, PropertyBag &bag)
{
    bag.writeProperty(Caption, box.text(), QString());
    bag.writeProperty(Value, indexOf(CheckValues, box.checkState()), qint32(0));
}

void read(QRadioButton &button, const PropertyBag &bag)
{
    button.setText(bag.readProperty(Caption, QString()));
    button.setChecked(bag.readProperty(Value, false));
}

void write(const QRadioButton &button, PropertyBag &bag)
{
    bag.writeProperty(Caption, button.text(), QString());
    bag.writeProperty(Value, button.isChecked(), false);
}

void read(PictureBox &box, const PropertyBag &bag)
{
    box.setForeColor(bag.readProperty(u"ForeColor"_s, OleColor::ButtonText));
    box.setScaleWidth(bag.readProperty(u"ScaleWidth"_s, 1.0));
    box.setScaleHeight(bag.readProperty(u"ScaleHeight"_s, 1.0));
}

void write(const PictureBox &box, PropertyBag &bag)
{
    bag.writeProperty(u"ForeColor"_s, box.foreColor(), OleColor::ButtonText);
    bag.writeProperty(u"ScaleWidth"_s, double(box.scaleWidth()), 1.0);
    bag.writeProperty(u"ScaleHeight"_s, double(box.scaleHeight()), 1.0);
}

void read(QLabel &label, const PropertyBag &bag)
{
    label.setText(bag.readProperty(Caption, QString()));
    const qint32 alignment = bag.readProperty(u"Alignment"_s, qint32(0));
    label.setAlignment(LabelAlignments.at(qBound(0, alignment, 2)) | Qt::AlignTop);
}

void write(const QLabel &label, PropertyBag &bag)
{
    bag.writeProperty(Caption, label.text(), QString());
    const Qt::Alignment horizontal = label.alignment() & Qt::AlignHorizontal_Mask;
    bag.writeProperty(u"Alignment"_s, indexOf(LabelAlignments, horizontal), qint32(0));
}

struct Kind
{
    QString name;
    QWidget *(*create)(QWidget *parent);
    void (*read)(QWidget &control, const PropertyBag &bag);
    void (*write)(const QWidget &control, PropertyBag &bag);
};

template<typename Widget> Kind kind(const QString &name)
{
    return {
        name,
        [](QWidget *parent) -> QWidget * { return new Widget(parent); },
        [](QWidget &control, const PropertyBag &bag) { read(static_cast<Widget &>(control), bag); },
        [](const QWidget &control, PropertyBag &bag) {
            write(static_cast<const Widget &>(control), bag);
        },
    };
}

const Kind *kindNamed(const QString &name)
{
    static const std::array kinds {
        kind<Frame>(u"Frame"_s),           kind<TextBox>(u"TextBox"_s),
        kind<ImageBox>(u"Image"_s),        kind<QComboBox>(u"ComboBox"_s),
        kind<QCheckBox>(u"CheckBox"_s),    kind<OptionButton>(u"OptionButton"_s),
        kind<PictureBox>(u"PictureBox"_s), kind<QLabel>(u"Label"_s),
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
