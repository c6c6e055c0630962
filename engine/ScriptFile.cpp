#include "engine/ScriptFile.h"

#include "platform/AppError.h"
#include "platform/Platform.h"

#include <QString>

#include <utility>

namespace modMorlend {

namespace {

// Enough for the lines of a thousand pieces; a run of millions of tiny pieces stays bounded.
constexpr qsizetype FlushThreshold = 64 * 1024;

} // namespace

ScriptFile::ScriptFile(File file, const OemCodePage &codePage)
    : m_file(std::move(file))
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
    platform.flushToDisk(m_file);
}

void ScriptFile::close()
{
    writeOut();
    m_open = false;
    m_file.close();
}

void ScriptFile::writeOut()
{
    // Taken out first, so that text a failed write left behind is never written twice.
    const QByteArray pending = std::exchange(m_pending, {});
    m_file.write(pending.constData(), pending.size());
}

} // namespace modMorlend
