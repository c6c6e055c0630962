#include "controls/PButton.h"
#include "controls/PropertyBag.h"
#include "tests/controls/RecordingHost.h"
#include "tests/support/QtPrinters.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <gtest/gtest.h>

namespace {

// Counts the repaints the setters ask for.
class CountingButton : public PButton
{
public:
    using PButton::PButton;

    int initButtons = 0;
    int redraws = 0;
    int shows = 0;

protected:
    void InitButton() override
    {
        ++initButtons;
        PButton::InitButton();
    }
    void Redraw() override
    {
        ++redraws;
        PButton::Redraw();
    }
    void ShowState() override
    {
        ++shows;
        PButton::ShowState();
    }
};

class PButtonProperties : public ::testing::Test
{
protected:
    // A button as its host places it: new, or loaded from a stored layout.
    void placeNew()
    {
        button.InitProperties();
        resetCounts();
    }
    void load(const QJsonObject &layout)
    {
        button.ReadProperties(PropertyBag::fromJson(layout));
        resetCounts();
    }
    void resetCounts()
    {
        host.changes.clear();
        button.initButtons = button.redraws = button.shows = 0;
    }
    QJsonObject saved() const
    {
        PropertyBag bag;
        button.WriteProperties(bag);
        return bag.toJson();
    }

    RecordingHost host;
    CountingButton button {host};
};

TEST_F(PButtonProperties, ANewButtonAndOneFromAnEmptyLayoutDifferInPictureAndBackColor)
{
    button.InitProperties();
    EXPECT_TRUE(host.changes.isEmpty()) << "placing a button notifies nothing";
    ASSERT_TRUE(button.Picture()) << "a new button has an empty picture";
    EXPECT_TRUE(button.Picture()->image.isNull());
    EXPECT_EQ(button.BackColor(), OleColor::ButtonFace);

    auto expectSharedDefaults = [&](const PButton &b) {
        for (const FontRef &font :
             {b.Font_Normal(), b.Font_Pressed(), b.Font_Over(), b.Font_All()}) {
            ASSERT_TRUE(font);
            EXPECT_EQ(*font, *host.font);
        }
        EXPECT_EQ(b.ForeColor_Normal(), OleColor::ButtonText);
        EXPECT_EQ(b.ForeColor_Over(), OleColor::ButtonText);
        EXPECT_EQ(b.ForeColor_Pressed(), OleColor::ButtonText);
        EXPECT_EQ(b.Border_Normal(), 4);
        EXPECT_EQ(b.Border_Over(), 5);
        EXPECT_EQ(b.Border_Pressed(), 10);
        EXPECT_EQ(b.TextAlign(), 1);
        EXPECT_EQ(b.PictureAlign(), 2);
        EXPECT_EQ(b.PictureMaskColor(), OleColor(255));
        EXPECT_EQ(b.Offset_X(), 1);
        EXPECT_EQ(b.Offset_Y(), 1);
        EXPECT_EQ(b.Picture_W(), 16);
        EXPECT_EQ(b.Picture_H(), 16);
        EXPECT_EQ(b.Padding(), 2);
        EXPECT_EQ(b.Caption(), "cbCut");
        EXPECT_TRUE(b.Enabled());
        EXPECT_FALSE(b.DefaultOK());
        EXPECT_FALSE(b.DefaultCancel());
        EXPECT_EQ(b.State(), PButton::Normal);
    };
    expectSharedDefaults(button);

    CountingButton loaded(host);
    loaded.ReadProperties(PropertyBag());
    EXPECT_TRUE(host.changes.isEmpty()) << "loading notifies nothing";
    EXPECT_EQ(loaded.Picture(), nullptr) << "no \"Picture\" key: no picture at all";
    EXPECT_EQ(loaded.BackColor(), OleColor(16770024));
    expectSharedDefaults(loaded);
}

TEST_F(PButtonProperties, SavesExactlyWhatDiffersFromTheStoredDefaults)
{
    placeNew();
    EXPECT_EQ(saved(), QJsonObject({{"picture", ""}, {"backcolor", "0x8000000F"}}))
        << "a new button differs from the stored defaults in its picture and back colour";

    QTemporaryDir dir;
    const QString ent = dir.filePath("ent.bmp");
    QImage keyCap(21, 10, QImage::Format_Indexed8);
    keyCap.setColorTable({qRgb(192, 192, 192)});
    keyCap.fill(0);
    ASSERT_TRUE(keyCap.save(ent));
    button.setCaption("Cut");
    button.setPicture(StdPicture::load(ent));
    button.setPicture_W(21);
    button.setPicture_H(10);
    button.setPictureAlign(0);
    button.setPadding(3);
    button.setDefaultOK(true);
    button.setFont_All(std::make_shared<StdFont>(*host.font));
    const QJsonObject cbCut {
        {"caption", "Cut"},  {"picture", ent}, {"picture_w", 21},   {"picture_h", 10},
        {"picturealign", 0}, {"padding", 3},   {"defaultok", true}, {"backcolor", "0x8000000F"},
    };
    EXPECT_EQ(saved(), cbCut) << "fonts equal to the host's are not stored";

    CountingButton loaded(host);
    loaded.ReadProperties(PropertyBag::fromJson(cbCut));
    EXPECT_EQ(loaded.Caption(), "Cut");
    EXPECT_EQ(loaded.Picture()->image.size(), QSize(21, 10));
    EXPECT_EQ(loaded.Picture_W(), 21);
    EXPECT_EQ(loaded.Padding(), 3);
    EXPECT_TRUE(loaded.DefaultOK());
    PropertyBag again;
    loaded.WriteProperties(again);
    EXPECT_EQ(again.toJson(), cbCut);
}

TEST_F(PButtonProperties, ALayoutFileReadsAndWritesBackUnchanged)
{
    const QByteArray layout = R"({
    "backcolor": "0x00FF8040",
    "border_over": 20,
    "caption": "E&xit",
    "defaultcancel": true,
    "enabled": false,
    "font_over": {
        "bold": true,
        "charset": 0,
        "italic": false,
        "name": "Verdana",
        "size": 9.75,
        "strikethrough": false,
        "underline": false
    },
    "forecolor_pressed": "0x8000000D",
    "offset_x": -2,
    "offset_y": 0,
    "picture": "",
    "picturemaskcolor": "0x00000000",
    "textalign": 0
}
)";
    load(QJsonDocument::fromJson(layout).object());
    EXPECT_EQ(button.Caption(), "E&xit");
    EXPECT_EQ(button.Offset_X(), -2);
    EXPECT_EQ(button.Border_Over(), 20);
    EXPECT_FALSE(button.Enabled());
    EXPECT_EQ(button.State(), PButton::Disabled) << "loading marks a disabled button";
    EXPECT_EQ(button.Font_Over()->name, "Verdana");
    EXPECT_EQ(button.Font_Normal(), host.font) << "a font that is not stored is the host's";
    EXPECT_EQ(QJsonDocument(saved()).toJson(), layout);
}

TEST_F(PButtonProperties, ReadsKeysWhateverTheirCase)
{
    load({{"caption", "Go"}, {"defaultok", true}, {"picture_w", 21}});
    const QJsonObject lower = saved();
    load({{"Caption", "Go"}, {"DefaultOK", true}, {"Picture_W", 21}});
    EXPECT_EQ(button.Caption(), "Go");
    EXPECT_TRUE(button.DefaultOK());
    EXPECT_EQ(button.Picture_W(), 21);
    EXPECT_EQ(saved(), lower);
}

TEST_F(PButtonProperties, LoadingKeepsBothDefaultsAsStored)
{
    load({{"defaultok", true}, {"defaultcancel", true}});
    EXPECT_TRUE(button.DefaultOK());
    EXPECT_TRUE(button.DefaultCancel());
}

TEST_F(PButtonProperties, SettersNotifyAndRepaintAsMuchAsTheyNeed)
{
    enum Repaint
    {
        Nothing,
        Redraw,
        InitButton,
    };
    struct Case
    {
        const char *property;
        std::function<void(PButton &)> set;
        Repaint repaint;
    };
    const auto font = std::make_shared<StdFont>(StdFont {"Arial", 10, true});
    // Each value differs from the one a new button has.
    const Case cases[] = {
        {"Picture", [](PButton &b) { b.setPicture(nullptr); }, Redraw},
        {"Font_Normal", [&](PButton &b) { b.setFont_Normal(font); }, Redraw},
        {"Font_Pressed", [&](PButton &b) { b.setFont_Pressed(font); }, Nothing},
        {"Font_Over", [&](PButton &b) { b.setFont_Over(font); }, Redraw},
        {"ForeColor_Normal", [](PButton &b) { b.setForeColor_Normal(OleColor(1)); }, Redraw},
        {"ForeColor_Over", [](PButton &b) { b.setForeColor_Over(OleColor(2)); }, Nothing},
        {"ForeColor_Pressed", [](PButton &b) { b.setForeColor_Pressed(OleColor(3)); }, Nothing},
        {"Border_Normal", [](PButton &b) { b.setBorder_Normal(6); }, Redraw},
        {"Border_Over", [](PButton &b) { b.setBorder_Over(9); }, Nothing},
        {"Border_Pressed", [](PButton &b) { b.setBorder_Pressed(20); }, Nothing},
        {"TextAlign", [](PButton &b) { b.setTextAlign(0); }, Redraw},
        {"PictureAlign", [](PButton &b) { b.setPictureAlign(1); }, Redraw},
        {"PictureMaskColor", [](PButton &b) { b.setPictureMaskColor(OleColor(4)); }, Redraw},
        {"BackColor", [](PButton &b) { b.setBackColor(OleColor(5)); }, Redraw},
        {"Offset_X", [](PButton &b) { b.setOffset_X(-3); }, Nothing},
        {"Offset_Y", [](PButton &b) { b.setOffset_Y(-4); }, Nothing},
        {"Picture_W", [](PButton &b) { b.setPicture_W(21); }, InitButton},
        {"Picture_H", [](PButton &b) { b.setPicture_H(10); }, InitButton},
        {"Padding", [](PButton &b) { b.setPadding(3); }, Redraw},
        {"Caption", [](PButton &b) { b.setCaption("Cut"); }, Redraw},
        {"DefaultCancel", [](PButton &b) { b.setDefaultCancel(true); }, Nothing},
        {"DefaultOK", [](PButton &b) { b.setDefaultOK(true); }, Nothing},
    };
    for (const Case &c : cases) {
        placeNew();
        const QString key = QString(c.property).toLower();
        const QJsonValue before = saved().value(key);
        c.set(button);
        EXPECT_NE(saved().value(key), before) << c.property << " is stored where it is saved from";
        EXPECT_EQ(host.changes, QStringList {c.property});
        EXPECT_EQ(button.redraws, c.repaint == Redraw ? 1 : 0) << c.property;
        EXPECT_EQ(button.initButtons, c.repaint == InitButton ? 1 : 0) << c.property;
        EXPECT_EQ(button.shows, c.repaint == Nothing ? 0 : 1) << c.property;
    }
}

TEST_F(PButtonProperties, EnabledSetsTheStateAndShowsIt)
{
    placeNew();
    button.setEnabled(false);
    EXPECT_FALSE(button.Enabled());
    EXPECT_EQ(button.State(), PButton::Disabled);
    EXPECT_EQ(host.changes, QStringList {"Enabled"});
    EXPECT_EQ(button.shows, 1);
    EXPECT_EQ(button.redraws + button.initButtons, 0);

    button.setEnabled(true);
    EXPECT_TRUE(button.Enabled());
    EXPECT_EQ(button.State(), PButton::Normal);
}

TEST_F(PButtonProperties, FontAllSharesOneFontAmongAllFour)
{
    placeNew();
    const auto font = std::make_shared<StdFont>(StdFont {"Arial", 10});
    button.setFont_All(font);
    EXPECT_EQ(button.Font_Normal(), font);
    EXPECT_EQ(button.Font_Pressed(), font);
    EXPECT_EQ(button.Font_Over(), font);
    EXPECT_EQ(button.Font_All(), font);
    EXPECT_EQ(host.changes, QStringList({"Font_Normal", "Font_Pressed", "Font_Over"}));
    EXPECT_EQ(button.redraws, 2) << "the normal and the over font redraw";

    font->bold = true;
    EXPECT_TRUE(button.Font_Over()->bold) << "one object, not copies";

    button.setFont_Normal(std::make_shared<StdFont>(StdFont {"Verdana", 8}));
    EXPECT_EQ(button.Font_All(), font) << "Font_All keeps the font last given to it";
}

TEST_F(PButtonProperties, DefaultOKAndDefaultCancelExcludeEachOther)
{
    struct Case
    {
        bool ok, cancel;
        bool setOK; // else DefaultCancel is set
        bool value;
        bool okAfter, cancelAfter;
    };
    const Case cases[] = {
        {false, true, true, true, true, false},  {false, true, true, false, false, true},
        {true, false, false, true, false, true}, {true, false, false, false, true, false},
        {true, true, true, true, true, false},   {true, true, false, false, true, false},
    };
    for (const Case &c : cases) {
        load({{"defaultok", c.ok}, {"defaultcancel", c.cancel}});
        if (c.setOK)
            button.setDefaultOK(c.value);
        else
            button.setDefaultCancel(c.value);
        EXPECT_EQ(button.DefaultOK(), c.okAfter) << c.ok << c.cancel << c.setOK << c.value;
        EXPECT_EQ(button.DefaultCancel(), c.cancelAfter) << c.ok << c.cancel << c.setOK << c.value;
        EXPECT_EQ(host.changes, QStringList {c.setOK ? "DefaultOK" : "DefaultCancel"})
            << "the property cleared is not notified";
    }
}

TEST_F(PButtonProperties, AccessKeysComeFromTheCaptionAtTheNextInitButton)
{
    struct Case
    {
        const char *caption;
        const char *keys;
    };
    // Each caption follows the one before it.
    const Case cases[] = {
        {"&Cut", "cC"}, {"Cut", "cC"}, {"E&x&it", "iI"}, {"Save && Exit", "  "},
        {"Cu&", ""},    {"&&", ""},    {"&1", "11"},     {"&\u0446", "\u0446\u0426"},
    };
    placeNew();
    QString keys;
    for (const Case &c : cases) {
        button.setCaption(QString::fromUtf8(c.caption));
        EXPECT_EQ(button.AccessKeys(), keys) << c.caption << ": the caption setter renews nothing";
        button.setPicture_W(16);
        keys = QString::fromUtf8(c.keys);
        EXPECT_EQ(button.AccessKeys(), keys) << c.caption;
    }
}

TEST_F(PButtonProperties, AltWithTheAccessKeyClicks)
{
    QWidget window;
    CountingButton onWindow(host, &window);
    onWindow.InitProperties();
    onWindow.setCaption("&Cut");
    onWindow.setPicture_W(16);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicks(&onWindow, &PButton::Click);

    QTest::keyClick(&window, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 0);
    QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier | Qt::ShiftModifier);
    QTest::keyClick(&window, Qt::Key_C);
    EXPECT_EQ(clicks.count(), 1) << "only Alt with the key is an access-key press";
}

} // namespace
