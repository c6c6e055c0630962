#pragma once

#include <QPalette>

// A palette in which every role has a colour of its own, so that a role mixed up shows.
inline QPalette distinctPalette()
{
    QPalette palette;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        if (role != QPalette::NoRole)
            palette.setColor(QPalette::ColorRole(role), QColor(10 * role, 250 - 10 * role, 100));
    }
    return palette;
}
