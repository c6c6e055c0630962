#pragma once

#include <QtGlobal>

class QKeyEvent;

// Keys by the classic numbers with which a window hands them to its buttons (InputKey).
namespace KeyCodes {
inline constexpr qint16 Enter = 13;
inline constexpr qint16 Escape = 27;
inline constexpr qint16 F1 = 112;
} // namespace KeyCodes

// The classic number of a pressed key: Enter (either one) 13, Escape 27, F1 to F24 from 112,
// letters and digits by their upper-case character; 0 for any other key.
qint16 keyCodeOf(const QKeyEvent &event);
