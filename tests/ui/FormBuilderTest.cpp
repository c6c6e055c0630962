#include "ui/FormBuilder.h"

#include "controls/PButton.h"
#include "tests/support/QtPrinters.h"

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

const QJsonObject Bold {{"name", "Tahoma"}, {"size", 8.25},       {"bold", true},
                        {"italic", false},  {"underline", false}, {"strikethrough", false},
                        {"charset", 204}};

QJsonObject control(const char *name, const char *kind, const char *container,
                    const QJsonObject &properties = {})
{
    return {{"name", name}, {"kind", kind},  {"container", container}, {"left", 60},
            {"top", 60},    {"width", 1050}, {"height", 375},          {"properties", properties}};
}

// A window with a bold group box that holds a text box, and a button.
QByteArray layout(const QJsonObject &window, const QJsonObject &box, const QJsonObject &button = {})
{
    const QJsonArray controls {
        control("Frame1", "Frame", "Form1",
                {{"caption", "1. Drop a file to cut:"}, {"font", Bold}}),
        control("txtOut", "TextBox", "Frame1", box),
        control("cbCut", "Morlend.PButton", "Form1", button),
    };
    return QJsonDocument(
               QJsonObject {{"name", "Form1"}, {"properties", window}, {"controls", controls}})
        .toJson();
}

TEST(FormBuilder, GivesTheDefaultFontWhereTheLayoutHasNone)
{
    QJsonObject regular = Bold;
    regular["bold"] = false;
    const QFont windowFont = [] {
        QFont font("Tahoma");
        font.setPointSizeF(8.25);
        return font;
    }();
    struct Case
    {
        const char *what;
        QJsonObject window, box;
        QFont expected;
    };
    const Case cases[] = {
        {"no fonts", {}, {}, QApplication::font()},
        {"empty fonts",
         {{"font", QJsonValue::Null}},
         {{"font", QJsonValue::Null}},
         QApplication::font()},
        {"an empty font in a control",
         {{"font", regular}},
         {{"font", QJsonValue::Null}},
         windowFont},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QWidget window;
        const FormBuilder builder(window, FormLayout::fromJson(layout(c.window, c.box)));
        auto *box = builder.control<QLineEdit>("txtOut");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->font().family(), c.expected.family());
        EXPECT_EQ(box->font().pointSizeF(), c.expected.pointSizeF());
        EXPECT_FALSE(QFontInfo(box->font()).bold()) << "the bold group box's font stays there";

        auto *button = builder.control<PButton>("cbCut");
        ASSERT_NE(button, nullptr);
        window.show();
        const QImage *strip = button->StateStrip().hDC();
        ASSERT_NE(strip, nullptr);
        EXPECT_FALSE(strip->isNull()) << "the button paints its caption in the default font";
    }
}

TEST(FormBuilder, SaysWhatInALayoutCannotBeReadAndWhere)
{
    const QString prefix = "The window's stored layout cannot be read: ";
    struct Case
    {
        QByteArray layout;
        QString message;
    };
    QJsonObject nameless = QJsonDocument::fromJson(layout({}, {})).object();
    QJsonArray controls = nameless["controls"].toArray();
    controls[0] = QJsonObject {{"kind", "Frame"}, {"container", "Form1"}};
    nameless["controls"] = controls;
    const Case cases[] = {
        {"Form1", "it is no JSON object (illegal value)"},
        {QJsonDocument(nameless).toJson(), "control entry 1: Type mismatch"},
        {layout({{"font", "Tahoma"}}, {}), "the window's properties: Type mismatch"},
        {layout({}, {{"font", 8.25}}), "control txtOut: Type mismatch"},
        {layout({}, {}, {{"picture", "/nonexistent/ent.bmp"}}), "control cbCut: File not found"},
        {layout({}, {}, {{"padding", "3"}}), "control cbCut: Type mismatch"},
        {QByteArray(layout({}, {})).replace("\"TextBox\"", "\"Slider\""),
         "control txtOut is of no known kind, Slider"},
        {QByteArray(layout({}, {}))
             .replace("\"container\": \"Frame1\"", "\"container\": \"Frame9\""),
         "control txtOut is in Frame9, which is no control before it"},
        // Edges beyond the integers a rectangle holds, and a size below 0.
        {QByteArray(layout({}, {})).replace("\"width\": 1050", "\"width\": 2147483647"),
         "control entry 1: Overflow"},
        {QByteArray(layout({}, {})).replace("\"height\": 375", "\"height\": -1"),
         "control entry 1: Overflow"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        QWidget window;
        try {
            const FormBuilder builder(window, FormLayout::fromJson(c.layout));
            ADD_FAILURE() << "built";
        } catch (const LayoutError &error) {
            EXPECT_EQ(error.message(), prefix + c.message);
        }
    }
}

} // namespace
