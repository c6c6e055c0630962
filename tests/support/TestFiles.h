#pragma once

#include <QByteArray>
#include <QString>

namespace TestFiles {

// Writes bytes to a new file at path, failing the test if it cannot.
void write(const QString &path, const QByteArray &bytes);
// A file of the given length that is all hole: large sizes cost no disk.
void writeSparse(const QString &path, qint64 length);
// The whole content of a file.
QByteArray read(const QString &path);
// Sets the file's time of modification a day back, so that a write now changes it whatever
// the clock's tick.
void age(const QString &path);
// A named pipe, and a bound socket's name, at path; false when the system refuses them.
bool makePipe(const QString &path);
bool makeSocket(const QString &path);
// A second name of the file target (a hard link).
bool makeHardLink(const QString &target, const QString &path);
// bytes of length count, different at every position so that misplaced bytes show.
QByteArray pattern(qint64 count);

} // namespace TestFiles
