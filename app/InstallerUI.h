#pragma once

#include "app/Localisation.h"
#include "app/ProgressText.h"
#include "app/TaskbarProgress.h"
#include "xhtml/frame/FrameView.h"
#include "xhtml/views/EventListener.h"

#include <windows.h>

// The installer's window and its controller: shows "res:///installer.xhtml", switches it
// between its states, runs the download of the setup program with live progress and starts the
// setup when it is complete.
class InstallerUI : public xhtml::FrameView, public xhtml::EventListener {
public:
    enum class PageState { None, Welcome, Downloading, Failed, Launching };
    enum class ButtonAction { Install, Cancel, TryAgain };

    // The page takes the context and deletes it with itself. The download state and the setup's
    // source are the current application's.
    explicit InstallerUI(xhtml::ViewContext* context);
    ~InstallerUI() override;

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onTimer(unsigned id) override;
    void onLinkClicked(xhtml::View* view) override;
    void onButtonClicked(xhtml::View* view) override;

    void setState(PageState state);
    void onAction(ButtonAction action);
    void updateProgress(int32_t received, int32_t total);
    // The value of the checked radio button of the group "installMode"; empty when none is.
    ZString installMode();

    PageState getPageState() const { return state_; }
    ButtonAction getButtonAction() const { return action_; }
    // What makes the taskbar progress when the shell announces the button; the shell's list
    // unless a test records the calls.
    void setTaskbarFactory(TaskbarProgressFactory factory) { taskbarFactory_ = factory; }

private:
    void buildPage();
    void fillLicence();
    void showBox(const char16_t* id, bool shown);
    void setTextOf(const char16_t* id, const ZString& text);
    // The content of the message above the page's parts, which every state keeps.
    void setMessage(const ZString& markup);
    // Starts the downloaded setup, if there is one, and closes the window.
    void launchSetup();
    void closeWindow();
    HWND progressBar();
    // The page's state on the taskbar button: its percentage while downloading, the error state
    // after a failure, nothing otherwise.
    void showTaskbarProgress();

    PageState state_ = PageState::None;
    ButtonAction action_ = ButtonAction::Install;
    unsigned progressTimer_ = 0;
    bool licenceFilled_ = false;
    TextTable texts_;
    TransferRate rate_;
    // The progress bar's position, which the taskbar button shows too.
    int percent_ = 0;
    UINT taskbarButtonCreated_ = 0;
    TaskbarProgressFactory taskbarFactory_ = shellTaskbarProgress;
    // None until the shell has made the window's button.
    std::unique_ptr<TaskbarProgress> taskbar_;
};
