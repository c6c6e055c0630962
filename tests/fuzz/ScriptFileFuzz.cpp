// The join script's writer on a disk that fails: writes that stop part way (a full disk) or a
// file system that loses the script's end and says so only as the file is closed. Whatever
// lines are written and wherever the disk fails, the file left is the whole script, or its
// first whole lines, or no file at all: never a line cut short.

#include "engine/ScriptFile.h"
#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/OemCodePage.h"
#include "tests/support/ScopedFailingClose.h"
#include "tests/support/ScopedFileSizeLimit.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

QString scriptPath()
{
    static QTemporaryDir folder;
    return folder.filePath(QStringLiteral("clip.avi.bat"));
}

// The input as the script's lines after its header, in printable ASCII: a byte that chooses how
// the disk fails, three for the byte it fails at, one for how often the lines repeat (a script
// of many blocks), and the lines themselves.
struct Script
{
    bool failsAtClose = false;
    qint64 failsAt = 0;
    QStringList lines;
};

std::optional<Script> scriptOf(const std::uint8_t *data, std::size_t size)
{
    if (size < 5)
        return std::nullopt;
    Script script;
    script.failsAtClose = (data[0] & 1) != 0;
    script.failsAt = qint64(data[1]) << 16 | qint64(data[2]) << 8 | data[3];
    QStringList lines {QString()};
    for (std::size_t at = 5; at < size; ++at) {
        if (data[at] == '\n')
            lines << QString();
        else
            lines.last() += QChar(char16_t(u' ' + data[at] % 95));
    }
    // Up to some 256 KiB of script: several of the blocks the writer writes in.
    const qsizetype copies
        = std::min<qsizetype>(qsizetype(data[4]) * 4 + 1, 256 * 1024 / (qsizetype(size) - 4));
    for (qsizetype copy = 0; copy < copies; ++copy)
        script.lines << lines;
    return script;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::optional<Script> script = scriptOf(data, size);
    if (!script)
        return 0;
    const QString path = scriptPath();
    const OemCodePage page(437);
    QString text = QStringLiteral("@echo off\r\n");
    for (qsizetype index = 0; index < script->lines.size(); ++index)
        text += script->lines[index] + (index + 1 < script->lines.size() ? "\r\n" : "");
    const QByteArray whole = page.encode(text);

    bool failed = false;
    {
        std::optional<ScopedFailingClose> failingClose;
        std::optional<ScopedFileSizeLimit> fileSizeLimit;
        if (script->failsAtClose)
            failingClose.emplace(QFile::encodeName(path), script->failsAt);
        else
            fileSizeLimit.emplace(rlim_t(script->failsAt));
        try {
            modMorlend::ScriptFile file(File::createNew(path, {}), path, page);
            file.write(QStringLiteral("@echo off\r\n"));
            for (qsizetype index = 0; index < script->lines.size(); ++index) {
                file.write(script->lines[index] + (index + 1 < script->lines.size() ? "\r\n" : ""));
            }
            file.close();
        } catch (const AppError &) {
            failed = true;
        }
    }

    QFile left(path);
    if (!left.exists()) {
        if (!failed)
            std::abort();
        return 0;
    }
    if (!left.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray kept = left.readAll();
    left.close();
    QFile::remove(path);
    if (failed ? !(kept.endsWith("\r\n") && whole.startsWith(kept)) : kept != whole)
        std::abort();
    return 0;
}
