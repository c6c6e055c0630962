#pragma once

#include <QString>

class QUrl;

// A file offered as the source, looked at once.
struct SourceCheck
{
    // Why it cannot be cut, as the message that tells the user: "<shown> is a folder, not a
    // file." or "<shown> cannot be read: <reason>". Empty when it can be cut: a regular file,
    // or a link to one, that opens for reading.
    QString refusal;
    // Its length when it can be cut.
    qint64 length = 0;
};

// Looks at the file at path, naming it as shown in a refusal.
SourceCheck checkSource(const QString &shown, const QString &path);

// The address of the file that a command-line argument names, as a file manager's "Open with"
// gives it: its name's bytes as they are, taken from currentFolder (bytes too) when they name no
// whole path. No address when they name none and there is no current folder.
QUrl addressOfArgument(const QByteArray &argument, const QByteArray &currentFolder);

// Why the file that the address url names cannot be taken by its name, as the message that
// refuses it; empty when it can. A name from an old disk may be in another encoding than the
// system's: its text would name another file, or none.
QString refusalOfAddress(const QUrl &url);
