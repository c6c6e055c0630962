#include "ui/SourceCheck.h"

#include "tests/support/QtPrinters.h"

#include <QUrl>

#include <gtest/gtest.h>

namespace {

TEST(SourceCheck, ACommandLineArgumentNamesTheFileAsItsBytesAre)
{
    struct Case
    {
        QByteArray argument;
        QString file;
        bool refused;
        QByteArray folder = "/home/me";
    };
    const Case cases[] = {
        {"/data/clip.avi", "/data/clip.avi", false},
        {"clip.avi", "/home/me/clip.avi", false},
        {"../x/100% #1 ?.avi", "/home/me/../x/100% #1 ?.avi", false},
        {"/data/Gr\xC3\xBC\xC3\x9F"
         "e.txt",
         "/data/Gr\u00fc\u00dfe.txt", false},
        // Latin-1 bytes, which name no text in UTF-8: refused, never taken for another name.
        {"/data/Gr\xFC\xDF"
         "e.txt",
         "/data/Gr\ufffd\ufffde.txt", true},
        // A name relative to a folder named so is refused the same way, never taken for the
        // file of the same name in the folder whose name reads as the same text.
        {"clip.avi", "/data/caf\ufffd/clip.avi", true, "/data/caf\xe9"},
        {"clip.avi", "/data/caf\ufffd/clip.avi", false, "/data/caf\xef\xbf\xbd"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        const QUrl address = addressOfArgument(c.argument, c.folder);
        EXPECT_TRUE(address.isLocalFile());
        EXPECT_EQ(address.toLocalFile(), c.file);
        EXPECT_EQ(!refusalOfAddress(address).isEmpty(), c.refused);
    }
    // A working folder that has no name any more holds nothing a name could reach.
    EXPECT_TRUE(addressOfArgument("clip.avi", QByteArray()).isEmpty());
    EXPECT_EQ(addressOfArgument("/data/clip.avi", QByteArray()).toLocalFile(), "/data/clip.avi");
}

} // namespace
