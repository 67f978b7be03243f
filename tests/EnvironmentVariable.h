#pragma once

#include "base/ZString.h"

#include <windows.h>

#include <optional>

// A variable of the test process's environment; none when it is unset or too long to matter.
inline std::optional<ZString> environmentVariable(const wchar_t* name) {
    wchar_t value[4096];
    const DWORD length = GetEnvironmentVariableW(name, value, 4096);
    return length == 0 || length >= 4096 ? std::nullopt : std::optional<ZString>(value);
}
