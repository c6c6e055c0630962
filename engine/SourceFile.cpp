#include "engine/SourceFile.h"

namespace modMorlend {

SourceFile::SourceFile(const QString &path)
    : m_file(File::openForReading(path))
    , m_identity(m_file.identity())
    , m_stamp(m_file.stamp())
    , m_sharing(m_file.sharing())
{
}

bool SourceFile::isAt(const QString &path) const
{
    return FileSystem::identityOf(path) == m_identity;
}

} // namespace modMorlend
