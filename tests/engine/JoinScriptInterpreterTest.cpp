#include "tests/engine/JoinScriptInterpreter.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

JoinScriptInterpreter folderWith(const QByteArray &script)
{
    JoinScriptInterpreter folder;
    folder.addFile("a b.1", "one");
    folder.addFile("a b.2", "two");
    folder.addFile("a b.bat", script);
    return folder;
}

TEST(JoinScriptInterpreter, JoinsThePiecesAsTheScriptSays)
{
    JoinScriptInterpreter folder = folderWith("@echo off\r\nren \"a b.1\" \"a b\"\r\n"
                                              "copy /b \"a b\"+\"a b.2\" \"a b\"\r\n"
                                              "del \"a b.2\"\r\ndel \"a b.bat\"");
    ASSERT_TRUE(folder.run("a b.bat")) << folder.failure().toStdString();
    EXPECT_EQ(folder.files(), (QMap<QByteArray, QByteArray> {{"a b", "onetwo"}}));
}

TEST(JoinScriptInterpreter, FailsWhereTheRealOneWouldDoSomethingElse)
{
    const char *scripts[] = {
        "@echo off\r\nren \"a b.1\" \"a%b\"\r\ndel \"a b.bat\"",
        "@echo off\r\nren \"a b.1\" \"a\"&b\r\ndel \"a b.bat\"",
        "@echo off\r\nren \"a b.1\" \"a\nb\"\r\ndel \"a b.bat\"",
        "@echo off\r\nren \"a b.1\" \"a b\"\r\ndel \"a b.bat\"\r\n",
        "@echo off\nren \"a b.1\" \"a b\"\r\ndel \"a b.bat\"",
        "@echo off\r\nren \"a b.1\" \"a b.2\"\r\ndel \"a b.bat\"",
        "@echo off\r\ncopy /b \"a b\"+\"a b.2\" \"a b\"\r\ndel \"a b.bat\"",
        "@echo off\r\ndel \"a b.bat\"\r\ndel \"a b.2\"",
        "@echo off\r\ndel \"a *\"\r\ndel \"a b.bat\"",
        "ren \"a b.1\" \"a b\"\r\ndel \"a b.bat\"",
        "@echo off\r\nren a b.1 a b\r\ndel \"a b.bat\"",
    };
    for (const char *script : scripts) {
        JoinScriptInterpreter folder = folderWith(script);
        EXPECT_FALSE(folder.run("a b.bat")) << script;
        EXPECT_FALSE(folder.failure().isEmpty());
    }
}

TEST(JoinScriptInterpreter, ReadsADoubledPercentAsOne)
{
    JoinScriptInterpreter folder = folderWith("@echo off\r\nren \"a b.1\" \"100%%\"\r\n"
                                              "del \"a b.bat\"");
    ASSERT_TRUE(folder.run("a b.bat")) << folder.failure().toStdString();
    EXPECT_EQ(folder.files().value("100%"), "one");
}

} // namespace
