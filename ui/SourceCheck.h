#pragma once

class QString;

// Why the file at path cannot be cut, as the message that tells the user, naming the file as
// shown: "<shown> is a folder, not a file." or "<shown> cannot be read: <reason>". Empty when
// it can be cut: a regular file, or a link to one, that opens for reading.
QString refusalOfSource(const QString &shown, const QString &path);
