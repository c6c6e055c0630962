#include "engine/ScriptFile.h"

#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

#include <utility>

namespace modMorlend {

namespace {

// Enough for the lines of a thousand pieces; a run of millions of tiny pieces stays bounded.
constexpr qsizetype FlushThreshold = 64 * 1024;
// Every code page the script is written in has the line end at these bytes.
constexpr char LineEndBytes[] = "\r\n";

} // namespace

ScriptFile::ScriptFile(File file, const QString &path, const OemCodePage &codePage)
    : m_file(std::move(file))
    , m_path(path)
    , m_identity(m_file.identity())
    , m_codePage(codePage)
{
}

ScriptFile::~ScriptFile()
{
    if (!m_open)
        return;
    try {
        writeOut();
    } catch (const AppError &) {
    }
}

void ScriptFile::write(const QString &text)
{
    m_pending += m_codePage.encode(text);
    if (m_pending.size() >= FlushThreshold)
        writeOut();
}

qint64 ScriptFile::length()
{
    writeOut();
    return m_file.size();
}

void ScriptFile::flushToDisk(const Platform &platform)
{
    writeOut();
    try {
        platform.flushToDisk(m_file);
    } catch (const AppError &) {
        keepWholeLines(0);
        throw;
    }
}

void ScriptFile::close()
{
    if (!m_open)
        return;
    writeOut();
    m_open = false;
    m_file.close();
}

void ScriptFile::writeOut()
{
    if (!m_open)
        return;
    // Taken out first, so that text a failed write left behind is never written twice.
    const QByteArray pending = std::exchange(m_pending, {});
    try {
        m_file.write(pending.constData(), pending.size());
    } catch (const AppError &) {
        keepWholeLines(wholeLinesReached(pending));
        throw;
    }
    const qsizetype lastLineEnd = pending.lastIndexOf(LineEndBytes);
    if (lastLineEnd >= 0)
        m_wholeLines = m_written + lastLineEnd + 2;
    m_written += pending.size();
    try {
        m_file.flush();
    } catch (const AppError &) {
        keepWholeLines(m_keptLines);
        throw;
    }
    m_keptLines = m_wholeLines;
}

qint64 ScriptFile::wholeLinesReached(const QByteArray &pending) const noexcept
{
    try {
        const qint64 reached = m_file.size() - m_written;
        const qsizetype lastLineEnd
            = reached >= 2 ? pending.lastIndexOf(LineEndBytes, reached - 2) : -1;
        if (lastLineEnd >= 0)
            return m_written + lastLineEnd + 2;
    } catch (const AppError &) {
    }
    return m_wholeLines;
}

void ScriptFile::keepWholeLines(qint64 length) noexcept
{
    m_open = false;
    const auto kept = [this] {
        try {
            m_file.flush();
            return true;
        } catch (const AppError &) {
            return false;
        }
    };
    try {
        for (const qint64 wholeLines : {length, m_keptLines}) {
            if (wholeLines == 0)
                break;
            m_file.truncate(wholeLines);
            if (kept()) {
                m_file.close();
                return;
            }
        }
        try {
            m_file.close();
        } catch (const AppError &) {
            // The file goes, whatever closing it said.
        }
        // Only the file this script is: someone may have put another at its name since.
        const std::optional<NamedFile> named = FileSystem::namedFile(m_path);
        if (named && named->identity == m_identity)
            FileSystem::deleteFile(m_path);
    } catch (const AppError &) {
        // Nothing more can be done on a disk that refuses even this.
    }
}

} // namespace modMorlend
