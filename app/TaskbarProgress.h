#pragma once

#include <windows.h>

#include <memory>

// The download's progress on the window's taskbar button. The page calls it; tests put a recorder
// in place of the shell's.
class TaskbarProgress {
public:
    virtual ~TaskbarProgress() = default;
    // TBPF_NORMAL, TBPF_ERROR or TBPF_NOPROGRESS.
    virtual void setState(int state) = 0;
    virtual void setPercent(int percent) = 0;
};

// Makes the window's taskbar progress once the shell has made its button.
using TaskbarProgressFactory = std::unique_ptr<TaskbarProgress> (*)(HWND window);

// The shell's taskbar list; null where the shell offers none.
std::unique_ptr<TaskbarProgress> shellTaskbarProgress(HWND window);

// The message the shell sends once the window's button exists, let through to a program that
// runs elevated.
UINT allowTaskbarButtonCreated(HWND window);
