#include "controls/OleColor.h"

#include "platform/AppError.h"

#include <QColor>
#include <QPalette>

#include <iterator>

namespace {

struct SystemColor
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr SystemColor active(QPalette::ColorRole role)
{
    return {QPalette::Active, role};
}

// The system colours by number, as the palette's roles that play their part. Number 25 is
// not a system colour.
constexpr SystemColor SystemColors[] = {
    active(QPalette::Midlight), // 0 scroll bar
    active(QPalette::Dark), // 1 desktop
    active(QPalette::Highlight), // 2 active caption
    active(QPalette::Mid), // 3 inactive caption
    active(QPalette::Window), // 4 menu
    active(QPalette::Base), // 5 window
    active(QPalette::Shadow), // 6 window frame
    active(QPalette::WindowText), // 7 menu text
    active(QPalette::Text), // 8 window text
    active(QPalette::HighlightedText), // 9 caption text
    active(QPalette::Button), // 10 active border
    active(QPalette::Button), // 11 inactive border
    active(QPalette::Mid), // 12 application workspace
    active(QPalette::Highlight), // 13 highlight
    active(QPalette::HighlightedText), // 14 highlighted text
    active(QPalette::Button), // 15 button face
    active(QPalette::Dark), // 16 button shadow
    {QPalette::Disabled, QPalette::Text}, // 17 grey text
    active(QPalette::ButtonText), // 18 button text
    {QPalette::Disabled, QPalette::WindowText}, // 19 inactive caption text
    active(QPalette::Light), // 20 3D highlight
    active(QPalette::Shadow), // 21 3D dark shadow
    active(QPalette::Midlight), // 22 3D light
    active(QPalette::ToolTipText), // 23 tooltip text
    active(QPalette::ToolTipBase), // 24 tooltip background
    active(QPalette::NoRole), // 25
    active(QPalette::Link), // 26 hot-tracked item
    active(QPalette::Highlight), // 27 active caption gradient
    active(QPalette::Mid), // 28 inactive caption gradient
    active(QPalette::Highlight), // 29 highlighted menu item
    active(QPalette::Window), // 30 menu bar
};

} // namespace

QColor TranslateColor(OleColor color, const QPalette &palette)
{
    const quint32 value = quint32(color);
    const quint32 low = value & 0xFFFFFF;
    switch (value >> 24) {
    case 0x00:
        return QColor(low & 0xFF, (low >> 8) & 0xFF, low >> 16);
    case 0x80:
        if (low < std::size(SystemColors) && SystemColors[low].role != QPalette::NoRole)
            return palette.color(SystemColors[low].group, SystemColors[low].role);
        break;
    }
    throw AppError(AppError::InvalidPropertyValue);
}
