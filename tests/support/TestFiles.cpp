#include "tests/support/TestFiles.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace TestFiles {

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void writeSparse(const QString &path, qint64 length)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_TRUE(file.resize(length));
}

QByteArray read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll();
}

void age(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path.toStdString();
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addDays(-1),
                                 QFileDevice::FileModificationTime));
}

bool makePipe(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool makeSocket(const QString &path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = ::bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(socket);
    return bound;
}

bool makeHardLink(const QString &target, const QString &path)
{
    return ::link(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) == 0;
}

QByteArray pattern(qint64 count)
{
    QByteArray bytes(count, Qt::Uninitialized);
    for (qint64 i = 0; i < count; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xff);
    return bytes;
}

} // namespace TestFiles
