// The window's stored layout as FormLayout reads it from JSON: whatever the file holds, it is
// read or refused with a LayoutError, and a layout read, written back, reads as the same
// layout and writes the same JSON.

#include "ui/FormLayout.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FormLayout layout;
    try {
        layout = FormLayout::fromJson(
            QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const LayoutError &) {
        return 0;
    }
    const QByteArray written = layout.toJson();
    try {
        if (FormLayout::fromJson(written).toJson() != written)
            std::abort();
    } catch (const LayoutError &) {
        std::abort();
    }
    return 0;
}
