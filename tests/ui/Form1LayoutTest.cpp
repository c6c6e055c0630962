#include "controls/CLine.h"
#include "controls/ImageBox.h"
#include "controls/PButton.h"
#include "controls/PictureBox.h"
#include "controls/TextBox.h"
#include "platform/Platform.h"
#include "resources/Artwork.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScriptedPrompter.h"
#include "ui/Form1.h"
#include "ui/FormBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

class Form1Layout : public ::testing::Test
{
protected:
    ScriptedPrompter prompter;
    Platform platform;
    Form1 form {prompter, platform};
};

TEST_F(Form1Layout, IsAFixedWindowOf231By269Pixels)
{
    EXPECT_EQ(form.minimumSize(), QSize(231, 269));
    EXPECT_EQ(form.maximumSize(), QSize(231, 269));
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(form.builder().keyPreview());
}

// A title bar, a task switcher and a dense screen each take the size drawn for them.
TEST_F(Form1Layout, ShowsTheProgramsIconAtEverySizeItIsDrawnAt)
{
    QList<QSize> sizes;
    for (const int size : Artwork::ProgramIconSizes) {
        SCOPED_TRACE(size);
        sizes << QSize(size, size);
        QImage drawn(Artwork::programIconFile(size));
        drawn.setDevicePixelRatio(1);
        EXPECT_EQ(form.windowIcon().pixmap(size).toImage().convertToFormat(drawn.format()), drawn);
    }
    EXPECT_EQ(form.windowIcon().availableSizes(), sizes);
}

TEST_F(Form1Layout, PlacesEveryControlInItsContainer)
{
    struct Case
    {
        QWidget *control;
        QWidget *container;
        QRect pixels;
    };
    const Case cases[] = {
        {form.cbExit, &form, {81, 240, 70, 25}},
        {form.picProg, &form, {3, 216, 139, 10}},
        {form.CLine1[0], &form, {0, 210, 232, 2}},
        {form.Frame1, &form, {4, 0, 223, 67}},
        {form.txtFN, form.Frame1, {9, 39, 205, 19}},
        {form.imgDnD, form.Frame1, {9, 15, 205, 21}},
        {form.Frame2, &form, {4, 69, 223, 67}},
        {form.txtEst, form.Frame2, {9, 42, 205, 19}},
        {form.cmbFilesize, form.Frame2, {9, 15, 205, 21}},
        {form.Frame3, &form, {4, 141, 223, 64}},
        {form.chbClearFDD, form.Frame3, {62, 40, 150, 16}},
        {form.txtOut, form.Frame3, {29, 18, 182, 19}},
        {form.optWrite[1], form.Frame3, {9, 39, 46, 16}},
        {form.optWrite[0], form.Frame3, {9, 19, 21, 16}},
        {form.CLine1[1], &form, {0, 231, 232, 2}},
        {form.cbCut, &form, {4, 240, 70, 25}},
        {form.cbAbout, &form, {165, 240, 64, 25}},
        {form.lblProg, &form, {147, 215, 79, 13}},
    };
    for (const Case &c : cases) {
        ASSERT_NE(c.control, nullptr);
        EXPECT_EQ(c.control->geometry(), c.pixels) << c.control->metaObject()->className();
        EXPECT_EQ(c.control->parentWidget(), c.container);
    }
}

TEST_F(Form1Layout, TabsThroughTheControlsInStoredOrder)
{
    // The stored tab order, less the controls that take no focus.
    const QList<QWidget *> tabStops {form.txtFN,       form.cmbFilesize, form.txtEst,
                                     form.optWrite[0], form.optWrite[1], form.txtOut,
                                     form.chbClearFDD};
    for (qsizetype i = 1; i < tabStops.size(); ++i) {
        QWidget *next = tabStops[i - 1]->nextInFocusChain();
        while (next != tabStops[i] && !tabStops.contains(next))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, tabStops[i]) << "after tab stop " << i - 1;
    }
    const QList<QWidget *> noStops {form.Frame1, form.Frame2,  form.Frame3,    form.lblProg,
                                    form.imgDnD, form.picProg, form.CLine1[0], form.CLine1[1],
                                    form.cbExit, form.cbCut,   form.cbAbout};
    for (QWidget *control : noStops)
        EXPECT_EQ(control->focusPolicy(), Qt::NoFocus) << control->metaObject()->className();
}

TEST_F(Form1Layout, ButtonsCarryTheirKeyCaps)
{
    struct Case
    {
        PButton *button;
        const char *caption;
        QSize picture;
        bool defaultOK, defaultCancel;
    };
    const Case cases[] = {
        {form.cbCut, "Cut", {21, 10}, true, false},
        {form.cbExit, "Exit", {21, 10}, false, true},
        {form.cbAbout, "About", {14, 10}, true, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.button->Caption(), c.caption);
        ASSERT_TRUE(c.button->Picture());
        EXPECT_EQ(c.button->Picture()->image.size(), c.picture) << c.caption;
        EXPECT_EQ(QSize(c.button->Picture_W(), c.button->Picture_H()), c.picture);
        EXPECT_EQ(c.button->PictureAlign(), 0);
        EXPECT_EQ(c.button->Padding(), 3);
        EXPECT_EQ(c.button->BackColor(), OleColor::ButtonFace);
        EXPECT_EQ(c.button->DefaultOK(), c.defaultOK);
        EXPECT_EQ(c.button->DefaultCancel(), c.defaultCancel);
        EXPECT_EQ(c.button->Font_Normal()->name, "Tahoma");
        EXPECT_EQ(c.button->Font_Normal()->size, 8.25);
    }
    EXPECT_EQ(form.imgDnD->pixmap().size(), QSize(205, 21));
}

TEST_F(Form1Layout, GroupCaptionsAreBoldAndWholeWhileTheirContentsAreNot)
{
    for (QGroupBox *frame : {form.Frame1, form.Frame2, form.Frame3}) {
        EXPECT_TRUE(QFontInfo(frame->font()).bold()) << frame->title().toStdString();
        // The caption sits between the frame's left corner and its right edge.
        EXPECT_LT(QFontMetrics(frame->font()).horizontalAdvance(frame->title()),
                  frame->width() - 16)
            << frame->title().toStdString();
    }
    for (QWidget *inside : std::initializer_list<QWidget *> {form.txtFN, form.cmbFilesize,
                                                             form.txtOut, form.chbClearFDD}) {
        EXPECT_FALSE(QFontInfo(inside->font()).bold());
        EXPECT_EQ(inside->font().pointSizeF(), 8.25);
    }
}

// The run repaints the caption after every piece, and what keeps that cheap must not show.
TEST_F(Form1Layout, TheProgressCaptionLooksAsAPlainLabelWouldDrawIt)
{
    QLabel plain(&form);
    plain.setGeometry(form.lblProg->geometry());
    plain.setAlignment(form.lblProg->alignment());
    const QRect area = form.lblProg->geometry();
    for (const char *caption : {"0/0", "3/3", "737/737", "12345/16384"}) {
        form.lblProg->setText(caption);
        form.lblProg->show();
        plain.hide();
        const QImage drawn = form.grab(area).toImage();
        plain.setText(caption);
        plain.show();
        form.lblProg->hide();
        EXPECT_EQ(drawn, form.grab(area).toImage()) << caption;
    }
}

QByteArray storedLayoutFile()
{
    Artwork::registerResource();
    QFile file(":/resources/Form1.json");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The window as its stored layout makes it, before its load handling runs.
class Form1StoredLayout : public ::testing::Test
{
protected:
    template<typename Widget> Widget *c(const char *name, int index = -1) const
    {
        Widget *control = builder.control<Widget>(name, index);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    QWidget host;
    FormBuilder builder {host, FormLayout::fromJson(storedLayoutFile())};
};

TEST_F(Form1StoredLayout, GivesTheControlsTheirInitialValues)
{
    EXPECT_EQ(c<TextBox>("txtFN")->text(), "{none}");
    EXPECT_TRUE(c<TextBox>("txtFN")->isReadOnly());
    EXPECT_EQ(c<TextBox>("txtEst")->text(), "{0 files}");
    EXPECT_TRUE(c<TextBox>("txtEst")->isReadOnly());
    EXPECT_EQ(c<TextBox>("txtFN")->palette().color(QPalette::Base),
              host.palette().color(QPalette::Button));
    EXPECT_EQ(c<TextBox>("txtOut")->text(), "");
    EXPECT_FALSE(c<TextBox>("txtOut")->isReadOnly());
    EXPECT_TRUE(c<QRadioButton>("optWrite", 0)->isChecked());
    EXPECT_FALSE(c<QRadioButton>("optWrite", 1)->isChecked());
    EXPECT_EQ(c<QRadioButton>("optWrite", 0)->text(), "");
    EXPECT_EQ(c<QRadioButton>("optWrite", 1)->text(), "   A:");
    EXPECT_EQ(c<QCheckBox>("chbClearFDD")->checkState(), Qt::Checked);
    EXPECT_FALSE(c<QCheckBox>("chbClearFDD")->isEnabled());
    EXPECT_EQ(c<QCheckBox>("chbClearFDD")->text(), "Clear disk before copying");
    EXPECT_EQ(c<QLabel>("lblProg")->text(), "0/0");
    EXPECT_TRUE(c<QLabel>("lblProg")->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(c<QComboBox>("cmbFilesize")->isEditable());
    EXPECT_EQ(c<QComboBox>("cmbFilesize")->currentText(), "cmbFilesize");
    EXPECT_EQ(c<QComboBox>("cmbFilesize")->count(), 0);
    EXPECT_EQ(c<QComboBox>("cmbFilesize")->insertPolicy(), QComboBox::NoInsert);
    EXPECT_TRUE(c<ImageBox>("imgDnD")->acceptDrops());
    EXPECT_EQ(c<QGroupBox>("Frame1")->title(), "1. Drop a file to cut:");
    EXPECT_EQ(c<QGroupBox>("Frame2")->title(), "2. Select size of resulting files:");
    EXPECT_EQ(c<QGroupBox>("Frame3")->title(), "3. Write to:");
    EXPECT_EQ(c<PictureBox>("picProg")->scaleWidth(), 20.25);
    EXPECT_EQ(c<PictureBox>("picProg")->scaleHeight(), 90);
    EXPECT_EQ(c<PictureBox>("picProg")->foreColor(), OleColor::Highlight);
    EXPECT_EQ(c<CLine>("CLine1", 0)->Orientation(), 0);
}

TEST_F(Form1StoredLayout, IsWrittenBackAsTheSameFile)
{
    EXPECT_EQ(builder.layout().toJson(), storedLayoutFile());
}

TEST_F(Form1StoredLayout, IsWrittenBackFromWhatTheControlsHold)
{
    QWidget *txtOut = c<TextBox>("txtOut");
    txtOut->move(txtOut->pos() + QPoint(1, 0));
    c<QCheckBox>("chbClearFDD")->setChecked(false);
    EXPECT_FALSE(builder.layoutChanged());
    c<PButton>("cbCut")->setCaption("Go");
    EXPECT_TRUE(builder.layoutChanged());

    const FormLayout written = FormLayout::fromJson(builder.layout().toJson());
    const FormLayout stored = FormLayout::fromJson(storedLayoutFile());
    ASSERT_EQ(written.controls.size(), stored.controls.size());
    QStringList differing;
    for (qsizetype i = 0; i < stored.controls.size(); ++i) {
        const FormLayout::Control &a = written.controls[i];
        const FormLayout::Control &b = stored.controls[i];
        if (a.twips != b.twips || a.properties.toJson() != b.properties.toJson())
            differing << a.name;
    }
    EXPECT_EQ(differing, QStringList({"chbClearFDD", "txtOut", "cbCut"}));
    EXPECT_EQ(written.controls[11].twips.left(), 435 + 15);
}

} // namespace
