#include "ui/DisplayChoice.h"

#include <QProcessEnvironment>

#include <algorithm>
#include <cstring>

bool runsThroughX11(const QProcessEnvironment &environment, int argc, const char *const *argv)
{
    const auto names = [&environment](const char *variable) {
        return !environment.value(QLatin1StringView(variable)).isEmpty();
    };
    // Qt takes its options with one dash or two.
    const bool platformGiven
        = std::any_of(argv + std::min(argc, 1), argv + argc, [](const char *argument) {
              return std::strcmp(argument, "-platform") == 0
                  || std::strcmp(argument, "--platform") == 0;
          });
    return names("WAYLAND_DISPLAY") && names("DISPLAY") && !names("QT_QPA_PLATFORM")
        && !platformGiven;
}
