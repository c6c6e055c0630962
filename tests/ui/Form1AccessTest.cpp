#include "controls/ImageBox.h"
#include "controls/PButton.h"
#include "controls/PictureBox.h"
#include "controls/TextBox.h"
#include "tests/support/QtPrinters.h"
#include "tests/ui/Form1Fixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// What the window offers a user with the keyboard alone or with a screen reader.
class Form1Access : public Form1Behaviour
{
protected:
    void copy(const char *format, const QByteArray &data)
    {
        auto *copied = new QMimeData;
        copied->setData(format, data);
        QApplication::clipboard()->setMimeData(copied);
    }
    void copyFiles(const QStringList &files)
    {
        auto *copied = new QMimeData;
        QList<QUrl> urls;
        for (const QString &file : files)
            urls << QUrl::fromLocalFile(file);
        copied->setUrls(urls);
        QApplication::clipboard()->setMimeData(copied);
    }
    void pasteIntoSourceBox(Qt::Key key = Qt::Key_V,
                            Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        pressKey(form.txtFN, key, modifiers);
    }
};

TEST_F(Form1Access, APasteIntoTheSourceBoxTakesAFileAsADropDoes)
{
    const QString movie = makeFile("data/movie.avi", 3500000);
    copyFiles({movie, makeFile("data/other.bin", 10)});
    prompter.answer(Prompter::Reply::Ok);
    pasteIntoSourceBox();
    EXPECT_EQ(prompter.shown(),
              QList({informationMessage("Morlend cuts one file at a time, so of "
                                        "the 2 files pasted it took "
                                        + movie + '.')}));
    EXPECT_EQ(state().SourcePath, movie);
    EXPECT_EQ(form.txtOut->text(), path("data/movie_cut"));
    EXPECT_EQ(form.txtFN->text(), movie + " * 3,500,000 bytes");
    EXPECT_EQ(form.txtEst->text(), "files: 3, last file: 584,672 bytes");
    EXPECT_EQ(form.lblProg->text(), "0/3");

    const QString other = makeFile("data/copied in gtk.bin", 10);
    copy("x-special/gnome-copied-files", "copy\n" + QUrl::fromLocalFile(other).toEncoded() + "\n");
    pasteIntoSourceBox(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(form.txtFN->text(), other + " * 10 bytes");

    const QString typed = makeFile("data/typed.bin", 20);
    QApplication::clipboard()->setText(typed + "\n");
    pasteIntoSourceBox();
    EXPECT_EQ(form.txtFN->text(), typed + " * 20 bytes");
    EXPECT_EQ(form.txtOut->text(), path("data/typed_cut"));

    // The window still sees the keys, and Enter cuts what was pasted.
    pressKey(form.txtFN, Qt::Key_Return);
    EXPECT_EQ(form.lblProg->text(), "1/1");
    EXPECT_TRUE(QFileInfo::exists(path("data/typed_cut/typed.bin.1")));
    EXPECT_EQ(prompter.shown().size(), 1);
}

TEST_F(Form1Access, APasteOfAFileThatCannotBeCutChangesNothingAndSaysWhy)
{
    const QString movie = makeFile("data/movie.avi", 3500000);
    dropFile(movie);
    QApplication::clipboard()->setText(path("data"));
    prompter.answer(Prompter::Reply::Ok);
    pasteIntoSourceBox();
    EXPECT_EQ(prompter.shown(), QList({errorMessage(path("data") + " is a folder, not a file.")}));
    EXPECT_EQ(state().SourcePath, movie);
    EXPECT_EQ(form.txtFN->text(), movie + " * 3,500,000 bytes");
}

TEST_F(Form1Access, APasteOfNoFileChangesNothingAndSaysNothing)
{
    const QString movie = makeFile("data/movie.avi", 3500000);
    dropFile(movie);
    const std::pair<const char *, QByteArray> clipboards[] = {
        {"text/plain", "data/movie.avi"},
        {"text/plain", "a few words"},
        {"text/uri-list", "https://example.org/movie.avi\r\n"},
        {"image/png", "\x89PNG"},
        // The system would read the name only up to the NUL: the file there is not this one.
        {"text/plain", QFile::encodeName(movie) + QByteArray("\0.txt", 5)},
        {"text/uri-list", QUrl::fromLocalFile(movie).toEncoded() + "%00.txt\r\n"},
    };
    for (const auto &[format, data] : clipboards) {
        SCOPED_TRACE(data.toStdString());
        copy(format, data);
        pasteIntoSourceBox();
        EXPECT_EQ(state().SourcePath, movie);
        EXPECT_EQ(form.txtFN->text(), movie + " * 3,500,000 bytes");
    }
    QApplication::clipboard()->clear();
    pasteIntoSourceBox();
    EXPECT_EQ(state().SourcePath, movie);
    EXPECT_TRUE(prompter.shown().isEmpty());
}

// The other boxes take a pasted text as ever; it is no file for the window.
TEST_F(Form1Access, APasteElsewhereIsText)
{
    const QString movie = makeFile("data/movie.avi", 3500000);
    QApplication::clipboard()->setText(movie);
    form.txtOut->clear();
    pressKey(form.txtOut, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.txtOut->text(), movie);
    EXPECT_TRUE(state().SourcePath.isEmpty());
    EXPECT_EQ(form.txtFN->text(), "{none}");
}

// Every control says what it is for, with a name that no other control has: a screen reader
// reads the name alone as the focus reaches a control.
TEST_F(Form1Access, NamesEachControlOnceAndDescribesTheDropArea)
{
    // Fields without a label of their own are named by their group's caption, where that is
    // what they are for. On Linux Qt names a combo box by its text; the field in it carries
    // the name there.
    const std::pair<QWidget *, QString> controls[] = {
        {form.txtFN, form.Frame1->title()},
        {form.cmbFilesize->lineEdit(), form.Frame2->title()},
        {form.txtEst, "Estimate"},
        {form.txtOut, form.Frame3->title()},
        {form.optWrite[0], "Folder"},
        {form.optWrite[1], "   A:"},
        {form.chbClearFDD, "Clear disk before copying"},
        {form.picProg, "Progress"},
    };
    for (const auto &[control, name] : controls) {
        SCOPED_TRACE(control->metaObject()->className());
        EXPECT_EQ(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), name);
    }

    // The window's controls, in its groups, each with the name it is read by (a combo box's
    // own parts are Qt's).
    QStringList names;
    const std::function<void(QAccessibleInterface *)> gather = [&](QAccessibleInterface *parent) {
        for (int i = 0; i < parent->childCount(); ++i) {
            QAccessibleInterface *child = parent->child(i);
            if (child->role() == QAccessible::Grouping)
                gather(child);
            else if (child->state().focusable || child->role() == QAccessible::ProgressBar
                     || child->role() == QAccessible::Graphic)
                names << child->text(QAccessible::Name);
        }
    };
    gather(QAccessible::queryAccessibleInterface(&form));
    EXPECT_FALSE(names.contains(QString())) << names.join(" | ").toStdString();
    EXPECT_EQ(QSet<QString>(names.cbegin(), names.cend()).size(), names.size())
        << names.join(" | ").toStdString();

    QAccessibleInterface *dropArea = QAccessible::queryAccessibleInterface(form.imgDnD);
    EXPECT_EQ(dropArea->role(), QAccessible::Graphic);
    EXPECT_EQ(dropArea->text(QAccessible::Name), "drop area");
    EXPECT_EQ(dropArea->text(QAccessible::Description),
              "Drop a file here, paste one into the source box, or press Ctrl+O to choose one.");
    QAccessibleValueInterface *progress
        = QAccessible::queryAccessibleInterface(form.picProg)->valueInterface();
    ASSERT_NE(progress, nullptr) << "the progress box tells its value beside its name";
}

// A screen reader announces each button's shortcut; it must be the key that does what the
// button does.
TEST_F(Form1Access, EachButtonsAnnouncedKeyDoesWhatPressingItDoes)
{
    const QString press = QAccessibleActionInterface::pressAction();
    const std::pair<PButton *, bool> buttons[]
        = {{form.cbCut, true}, {form.cbAbout, true}, {form.cbExit, false}};
    for (const auto &[button, asks] : buttons) {
        SCOPED_TRACE(button->Caption().toStdString());
        QAccessibleActionInterface *actions
            = QAccessible::queryAccessibleInterface(button)->actionInterface();
        const QStringList announced = actions->keyBindingsForAction(press);
        ASSERT_EQ(announced.size(), 1);
        const QKeyCombination key = QKeySequence::fromString(announced.first())[0];

        const qsizetype before = prompter.shown().size();
        if (asks)
            prompter.answer(Prompter::Reply::Ok);
        pressKey(form.txtOut, key.key(), key.keyboardModifiers());
        const QList<Prompter::Message> byKey = prompter.shown().mid(before);
        const bool closedByKey = !form.isVisible();
        EXPECT_TRUE(!byKey.isEmpty() || closedByKey) << "the key does something";

        form.show();
        if (asks)
            prompter.answer(Prompter::Reply::Ok);
        actions->doAction(press);
        QCoreApplication::processEvents();
        EXPECT_EQ(prompter.shown().mid(before + byKey.size()), byKey);
        EXPECT_EQ(!form.isVisible(), closedByKey);
        form.show();
    }
}

} // namespace
