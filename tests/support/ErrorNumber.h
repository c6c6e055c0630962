#pragma once

#include "platform/AppError.h"

// The number of the AppError that call throws, or 0 when it throws none.
int errorNumberOf(const auto &call)
{
    try {
        call();
    } catch (const AppError &error) {
        return error.number();
    }
    return 0;
}
