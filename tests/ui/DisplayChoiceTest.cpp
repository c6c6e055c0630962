#include "ui/DisplayChoice.h"

#include <QProcessEnvironment>

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(RunsThroughX11, WhereWaylandAndX11AreBothThereUnlessTheUserChoseAPlatform)
{
    struct Case
    {
        const char *what;
        std::vector<std::pair<const char *, const char *>> variables;
        std::vector<const char *> arguments;
        bool expected;
    };
    const std::pair<const char *, const char *> wayland {"WAYLAND_DISPLAY", "wayland-0"};
    const std::pair<const char *, const char *> x11 {"DISPLAY", ":0"};
    const Case cases[] = {
        {"both", {wayland, x11}, {"morlend"}, true},
        {"both, and a file", {wayland, x11}, {"morlend", "clip.avi"}, true},
        {"both in a Wayland session",
         {wayland, x11, {"XDG_SESSION_TYPE", "wayland"}},
         {"morlend"},
         true},
        {"Wayland alone", {wayland}, {"morlend"}, false},
        {"X11 alone", {x11}, {"morlend"}, false},
        {"an empty Wayland display", {{"WAYLAND_DISPLAY", ""}, x11}, {"morlend"}, false},
        {"a platform chosen", {wayland, x11, {"QT_QPA_PLATFORM", "wayland"}}, {"morlend"}, false},
        {"an empty platform", {wayland, x11, {"QT_QPA_PLATFORM", ""}}, {"morlend"}, true},
        {"-platform", {wayland, x11}, {"morlend", "-platform", "wayland"}, false},
        {"--platform", {wayland, x11}, {"morlend", "clip.avi", "--platform", "wayland"}, false},
        {"a file named like the option's value", {wayland, x11}, {"morlend", "wayland"}, true},
        {"no arguments at all", {wayland, x11}, {}, true},
    };
    for (const Case &c : cases) {
        QProcessEnvironment environment;
        for (const auto &[name, value] : c.variables)
            environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
        EXPECT_EQ(runsThroughX11(environment, int(c.arguments.size()), c.arguments.data()),
                  c.expected)
            << c.what;
    }
}

} // namespace
