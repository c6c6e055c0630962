#include "ui/PastedFiles.h"

#include "tests/support/QtPrinters.h"

#include <QMimeData>

#include <gtest/gtest.h>

namespace {

QList<QUrl> files(std::initializer_list<const char *> paths)
{
    QList<QUrl> urls;
    for (const char *path : paths)
        urls << QUrl::fromLocalFile(path);
    return urls;
}

TEST(PastedFiles, AreTheFilesAFileManagerCopiedOrAPastedFullPath)
{
    struct Case
    {
        const char *what;
        const char *format;
        QByteArray data;
        QList<QUrl> offered;
    };
    const Case cases[] = {
        {"a URI list", "text/uri-list", "file:///data/clip.avi\r\nfile:///data/two.bin\r\n",
         files({"/data/clip.avi", "/data/two.bin"})},
        {"an address that is no file's",
         "text/uri-list",
         "https://example.org/clip.avi\r\n",
         {QUrl("https://example.org/clip.avi")}},
        {"GTK's copied files", "x-special/gnome-copied-files",
         "copy\nfile:///data/clip%20one.avi\nfile:///data/two.bin",
         files({"/data/clip one.avi", "/data/two.bin"})},
        {"GTK's cut files", "x-special/gnome-copied-files", "cut\nfile:///data/clip.avi\n",
         files({"/data/clip.avi"})},
        {"a full path", "text/plain", "/data/clip one.avi", files({"/data/clip one.avi"})},
        {"a full path and a line break", "text/plain", "/data/clip.avi\n",
         files({"/data/clip.avi"})},
        {"a full path and a Windows line break", "text/plain", "/data/clip.avi\r\n",
         files({"/data/clip.avi"})},
        {"a path that ends in blanks", "text/plain", "/data/clip.avi ", files({"/data/clip.avi "})},
        {"a relative path", "text/plain", "data/clip.avi", {}},
        {"a path from home", "text/plain", "~/clip.avi", {}},
        {"two paths", "text/plain", "/data/clip.avi\n/data/two.bin\n", {}},
        {"an address as text", "text/plain", "file:///data/clip.avi", {}},
        {"a line break alone", "text/plain", "\n", {}},
        {"an empty text", "text/plain", "", {}},
        {"a picture", "image/png", "\x89PNG", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QMimeData data;
        data.setData(c.format, c.data);
        EXPECT_EQ(pastedFiles(data), c.offered);
    }
    EXPECT_EQ(pastedFiles(QMimeData()), QList<QUrl>()) << "an empty clipboard";
}

// A file manager offers the same files in several forms; the addresses come first.
TEST(PastedFiles, PreferTheURIListToTheOtherForms)
{
    QMimeData data;
    data.setUrls(files({"/data/clip.avi"}));
    data.setData("x-special/gnome-copied-files", "copy\nfile:///data/other.avi");
    data.setText("/data/text.avi");
    EXPECT_EQ(pastedFiles(data), files({"/data/clip.avi"}));
    data.removeFormat("text/uri-list");
    EXPECT_EQ(pastedFiles(data), files({"/data/other.avi"}));
}

} // namespace
