#pragma once

#include "engine/LineEnd.h"

#include <QString>

#include <initializer_list>

class AppError;

// How the engine composes what it tells the user. Each line is one text whose parts are filled in
// by a single QString::arg call with every part a string (numbers through QString::number): a
// second, chained arg would also fill a marker that a file's name brought in ("%2" in a name).
namespace modMorlend {

// The lines of a message, one after another.
QString lines(std::initializer_list<QString> each);

// "An error #", the error's number, " occured:", a line end and its description: how the general
// error message and the floppy's error message name a failure.
QString errorLines(const AppError &error);

} // namespace modMorlend
