#pragma once

#include <QString>

// How the folder box's text names where the pieces go. The run and the window's clear box read
// it by the same rule.
namespace modMorlend {

struct FolderText
{
    // The folder as the run writes into it: "A:" for the floppy's root, "A:\" and the folder's
    // parts for a folder on the floppy, else a whole path of this system's, tidied. Empty when
    // the text is refused.
    QString folder;
    // Why the text names no folder a run can write into, as the message that refuses it.
    QString refusal;
};

// Reads text: "A:" followed by nothing, a separator or a name is the floppy, in either case,
// with "\" and "/" both separating its folders ("A:\", "a:\games", "A:games" and "A:/games");
// "~" and "~/..." are in homeFolder; any other whole path is this system's. Another drive
// letter, a relative name and blanks alone are refused. An empty text raises
// AppError::InvalidArgument, as an empty folder always did.
FolderText readFolderText(const QString &text, const QString &homeFolder);

} // namespace modMorlend
