#include "platform/OemCodePage.h"
#include "tests/engine/EngineFixture.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class Locales : public EngineFixture
{
};

// The example of 3 500 000 bytes at the size of a 1.44 MB floppy under each locale: the estimate
// as the window shows it, the console's code page the script is written in, and the rename line
// of a name in the locale's own language. The bytes of each line are those of Python's codec for
// the page (cp437, cp850, cp852, ..., cp720), not of this program.
TEST_F(Locales, ShowTheExampleInTheLocalesNotationAndWriteItsNamesInItsConsolesPage)
{
    struct Case
    {
        const char *locale;
        const char *estimate;
        int codePage;
        QString name;
        QByteArray renameLine;
    };
    const Case cases[] = {
        {"en_US", "584,672", 437, "Résumé.doc", "ren \"R\x82sum\x82.doc.1\" \"R\x82sum\x82.doc\""},
        {"en_IN", "584,672", 437, "naïve café.txt",
         "ren \"na\x8bve caf\x82.txt.1\" \"na\x8bve caf\x82.txt\""},
        {"de_DE", "584.672", 850, "Größe.dat",
         "ren \"Gr\x94\xe1"
         "e.dat.1\" \"Gr\x94\xe1"
         "e.dat\""},
        {"de_CH", "584\u2019672", 850, "Zürich.txt", "ren \"Z\x81rich.txt.1\" \"Z\x81rich.txt\""},
        {"fr_FR", "584\u202f672", 850, "Noël à Besançon.avi",
         "ren \"No\x89l \x85 Besan\x87on.avi.1\" \"No\x89l \x85 Besan\x87on.avi\""},
        {"es_ES", "584.672", 850, "Año señal.avi",
         "ren \"A\xa4o se\xa4"
         "al.avi.1\" \"A\xa4o se\xa4"
         "al.avi\""},
        {"pl_PL", "584\u00a0672", 852, "zażółć gęślą jaźń.avi",
         "ren \"za\xbe\xa2\x88\x86 g\xa9\x98l\xa5 ja\xab\xe4.avi.1\" "
         "\"za\xbe\xa2\x88\x86 g\xa9\x98l\xa5 ja\xab\xe4.avi\""},
        {"cs_CZ", "584\u00a0672", 852, "Příliš žluťoučký kůň.avi",
         "ren \"P\xfd\xa1li\xe7 \xa7lu\x9cou\x9fk\xec k\x85\xe5.avi.1\" "
         "\"P\xfd\xa1li\xe7 \xa7lu\x9cou\x9fk\xec k\x85\xe5.avi\""},
        {"tr_TR", "584.672", 857, "Işık ğüşöç.avi",
         "ren \"I\x9f\x8dk \xa7\x81\x9f\x94\x87.avi.1\" \"I\x9f\x8dk \xa7\x81\x9f\x94\x87.avi\""},
        {"el_GR", "584.672", 737, "Καλημέρα.avi",
         "ren \"\x89\x98\xa2\x9e\xa3\xe2\xa8\x98.avi.1\" \"\x89\x98\xa2\x9e\xa3\xe2\xa8\x98.avi\""},
        {"he_IL", "584,672", 862, "שלום.avi",
         "ren \"\x99\x8c\x85\x8d.avi.1\" \"\x99\x8c\x85\x8d.avi\""},
        {"ar_EG", "584\u066c672", 720, "تقرير.avi",
         "ren \"\xa2\xe7\xa9\xef\xa9.avi.1\" \"\xa2\xe7\xa9\xef\xa9.avi\""},
        {"ru_RU", "584\u00a0672", 866, "Отчёт.doc",
         "ren \"\x8e\xe2\xe7\xf1\xe2.doc.1\" \"\x8e\xe2\xe7\xf1\xe2.doc\""},
        // Trail bytes 0x7C and 0x5C, a bar and a backslash on their own, inside the name.
        {"ja_JP", "584,672", 932, "ポスター表.avi",
         "ren \"\x83|\x83X\x83^\x81[\x95\\.avi.1\" \"\x83|\x83X\x83^\x81[\x95\\.avi\""},
        {"zh_CN", "584,672", 936, "报告.doc",
         "ren \"\xb1\xa8\xb8\xe6.doc.1\" \"\xb1\xa8\xb8\xe6.doc\""},
        {"ko_KR", "584,672", 949, "보고서.doc",
         "ren \"\xba\xb8\xb0\xed\xbc\xad.doc.1\" \"\xba\xb8\xb0\xed\xbc\xad.doc\""},
        {"zh_TW", "584,672", 950, "功課報告.doc",
         "ren \"\xa5\\\xbd\xd2\xb3\xf8\xa7i.doc.1\" \"\xa5\\\xbd\xd2\xb3\xf8\xa7i.doc\""},
        {"vi_VN", "584.672", 1258, "Cà Mau Sơn La.avi",
         "ren \"C\xe0 Mau S\xf5n La.avi.1\" \"C\xe0 Mau S\xf5n La.avi\""},
        {"th_TH", "584,672", 874, "รายงาน.doc",
         "ren \"\xc3\xd2\xc2\xa7\xd2\xb9.doc.1\" \"\xc3\xd2\xc2\xa7\xd2\xb9.doc\""},
        {"C", "584,672", 437, "café.txt", "ren \"caf\x82.txt.1\" \"caf\x82.txt\""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.locale);
        const ScopedLocale scoped {QLocale(c.locale)};
        QDir(dir.path()).mkdir(c.locale);
        const QString source = makeSource(QString(c.locale) + '/' + c.name, 3500000);
        choose(source, "1 457 664");
        EXPECT_EQ(view.estimate, QString("files: 3, last file: %1 bytes").arg(c.estimate));
        EXPECT_EQ(OemCodePage::forLocale(QLocale()).number(), c.codePage);

        const QString out = path(QString(c.locale) + "/out");
        writeToFolder(out);
        cutFile();
        EXPECT_TRUE(prompter.shown().isEmpty()) << prompter.last().text.toStdString();
        const QList<QByteArray> lines = TestFiles::read(out + '/' + c.name + ".bat").split('\n');
        EXPECT_EQ(lines.value(1), c.renameLine + '\r');
        expectJoinsBack({out}, source);
    }
}

// Names the page would write, but as another name on the joining machine: nothing is written,
// and the message names the page.
TEST_F(Locales, RefuseNamesThatThePageWouldTurnIntoOthers)
{
    struct Case
    {
        const char *locale;
        QString name;
        int codePage;
    };
    const Case cases[] = {
        // The C library writes the yen sign as 0x5C, which the joining machine reads as a
        // backslash: the script would name a file in another folder.
        {"ja_JP", "a¥b.avi", 932},
        // The wave dash as the full-width tilde, another character there.
        {"ja_JP", "10〜20.avi", 932},
        // ệ as ê and a combining dot below, two characters there.
        {"vi_VN", "Việt.avi", 1258},
        {"pl_PL", "файл.avi", 852},
        {"en_US", "日本.avi", 437},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const ScopedLocale scoped {QLocale(c.locale)};
        const QString folder = path(QString("%1-%2").arg(c.locale).arg(&c - cases));
        QDir(dir.path()).mkdir(QFileInfo(folder).fileName());
        choose(makeSource(QFileInfo(folder).fileName() + '/' + c.name, 100), "1 457 664");
        writeToFolder(folder + "/out");
        prompter.answer(Prompter::Reply::Ok);
        cutFile();
        EXPECT_EQ(prompter.last().text,
                  QString("The join script cannot name the file %1: the console's code page %2 "
                          "has no place for some of its characters.\r\nRename the file and try "
                          "again.")
                      .arg(c.name)
                      .arg(c.codePage));
        EXPECT_FALSE(QFileInfo::exists(folder + "/out"));
    }
}

} // namespace
