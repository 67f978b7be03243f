#include "app/TaskbarProgress.h"

#include "system/SystemLibrary.h"

#include <shobjidl.h>

namespace {

class ShellTaskbarProgress : public TaskbarProgress {
public:
    ShellTaskbarProgress(HWND window, ITaskbarList3* list, bool ownsCom)
        : window_(window), list_(list), ownsCom_(ownsCom) {}
    ShellTaskbarProgress(const ShellTaskbarProgress&) = delete;
    ShellTaskbarProgress& operator=(const ShellTaskbarProgress&) = delete;
    ~ShellTaskbarProgress() override {
        list_->Release();
        if (ownsCom_)
            CoUninitialize();
    }

    void setState(int state) override {
        list_->SetProgressState(window_, static_cast<TBPFLAG>(state));
    }
    void setPercent(int percent) override { list_->SetProgressValue(window_, percent, 100); }

private:
    HWND window_;
    ITaskbarList3* list_;
    bool ownsCom_;
};

} // namespace

std::unique_ptr<TaskbarProgress> shellTaskbarProgress(HWND window) {
    const bool ownsCom = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ITaskbarList3* list = nullptr;
    if (SUCCEEDED(CoCreateInstance(__uuidof(TaskbarList), nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(ITaskbarList3), reinterpret_cast<void**>(&list)))) {
        if (SUCCEEDED(list->HrInit()))
            return std::make_unique<ShellTaskbarProgress>(window, list, ownsCom);
        list->Release();
    }
    if (ownsCom)
        CoUninitialize();
    return nullptr;
}

UINT allowTaskbarButtonCreated(HWND window) {
    const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    // From Windows 7 on, an elevated program hears nothing from the shell, which runs at a lower
    // integrity level, unless it lets the message through; older systems have no such filter.
    const auto allow = systemFunction<decltype(&ChangeWindowMessageFilterEx)>(
        GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx");
    if (allow)
        allow(window, message, MSGFLT_ALLOW, nullptr);
    return message;
}
