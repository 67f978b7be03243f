// The installer's page in a real window under the test display, driven by the mouse messages a
// user's clicks make. Its downloads go to a port where nothing listens, so they never succeed. The
// window's class, title and client size, the download with its progress, the retry and the start
// of the setup are checked end to end with the real program (installer_e2e.py).
#include "app/Installer.h"
#include "tests/ResourceFiles.h"
#include "tests/base/ZStringPrinter.h"
#include "tests/xhtml/frame/HighContrast.h"
#include "tests/xhtml/frame/WindowedFrame.h"
#include "xhtml/frame/Win32Controls.h"
#include "xhtml/views/InlineViews.h"
#include "xhtml/views/ViewContext.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shobjidl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace xhtml;
using PageState = InstallerUI::PageState;
using ButtonAction = InstallerUI::ButtonAction;

namespace {

MachineFacts windows10Amd64() {
    return {ArchitectureAmd64, true, 0};
}

// The quit messages waiting in the queue, with the exit code they carry; other messages stay.
std::vector<WPARAM> takeQuitMessages() {
    std::vector<WPARAM> codes;
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        codes.push_back(message.wParam);
    return codes;
}

// The plain text below a view, its text runs joined by blanks.
std::string textOf(View* view) {
    std::vector<View*> texts;
    view->collectViewsByKind(texts, TextKind);
    std::string out;
    for (View* text : texts) {
        if (!out.empty())
            out += ' ';
        out += toUtf8(static_cast<TextView*>(text)->getText());
    }
    return out;
}

// Keeps the radio changes the page's views notify.
struct RadioRecorder : EventListener {
    void onRadioChanged(View* view) override { changes.push_back(view); }
    std::vector<View*> changes;
};

// The installer as the program makes it: the application object and the page in its window,
// with the shell's taskbar list unless another factory is given.
class OpenPage {
public:
    explicit OpenPage(MachineFacts (*facts)() = windows10Amd64,
                      TaskbarProgressFactory taskbar = shellTaskbarProgress)
        : app_(nullptr, SetupSource{facts, u"localhost:1", u"Doxly"}) {
        page().setTaskbarFactory(taskbar);
        EXPECT_TRUE(page().create(ZString(), 0, 0, 0, 0, WS_CAPTION | WS_SYSMENU, 0, nullptr,
                                  nullptr, nullptr));
    }
    ~OpenPage() {
        // The worker of a test may still run; it must not be taken for the next test's.
        download().requestStop();
        pumpUntil([&] { return !download().snapshot().running; }, 10000);
    }

    InstallerUI& page() { return app_.page(); }
    DownloadState& download() { return app_.downloadState(); }
    View* view(const char16_t* id) { return page().getViewById(id); }
    bool windowOpen() { return page().getWindow().isWindow(); }

    // The pointer moved over the middle of the view, the left button pressed and released there.
    void click(View* target) {
        const Rect rect = target->getRect();
        const Point scroll = page().getScrollPosition();
        const LPARAM point = MAKELPARAM(rect.left + rect.width() / 2 - scroll.x,
                                        rect.top + rect.height() / 2 - scroll.y);
        page().getWindow().sendMessage(WM_MOUSEMOVE, 0, point);
        page().getWindow().sendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
        page().getWindow().sendMessage(WM_LBUTTONUP, 0, point);
    }
    void clickButton() { click(view(u"actionButton")); }
    std::string caption() {
        return toUtf8(static_cast<ButtonView*>(view(u"actionButton"))->getValue());
    }
    HWND progressBar() { return controlWindow(*static_cast<ControlView*>(view(u"progressBar"))); }

private:
    Installer app_;
};

class InstallerPage : public ::testing::Test {
protected:
    void TearDown() override { takeQuitMessages(); }
};

// What each state shows, the caption of its button and what a press of it does.
struct StateRow {
    PageState state;
    bool licence, modes, progress, status;
    ButtonAction action;
    const char* caption;
};

constexpr StateRow WelcomeRow = {
    PageState::Welcome, true, true, false, false, ButtonAction::Install, "Install",
};

void expectRow(OpenPage& open, const StateRow& row) {
    SCOPED_TRACE(static_cast<int>(row.state));
    EXPECT_EQ(open.page().getPageState(), row.state);
    EXPECT_EQ(open.view(u"licenseTextBox")->isDisplayed(), row.licence);
    EXPECT_EQ(open.view(u"installModeBox")->isDisplayed(), row.modes);
    EXPECT_EQ(open.view(u"progressBarOuter")->isDisplayed(), row.progress);
    EXPECT_EQ(open.view(u"downloadStatus")->isDisplayed(), row.status);
    EXPECT_TRUE(open.view(u"actionButton")->isDisplayed());
    EXPECT_EQ(open.page().getButtonAction(), row.action);
    EXPECT_EQ(open.caption(), row.caption);
}

} // namespace

// One window: the welcome state, the radio group, then Install and Cancel, which ends it.
TEST_F(InstallerPage, WelcomePageRadioGroupAndCancel) {
    OpenPage open;
    BaseWindow& window = open.page().getWindow();
    EXPECT_NE(window.sendMessage(WM_GETICON, ICON_BIG), 0);
    EXPECT_NE(window.sendMessage(WM_GETICON, ICON_SMALL), 0);
    // Neither axis scrolls, whatever the content, and the window is centred on the desktop.
    EXPECT_FALSE(window.getLong(GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const RECT frame = window.getWindowRect();
    EXPECT_NEAR(frame.left + frame.right, desktop.right, 1);
    EXPECT_NEAR(frame.top + frame.bottom, desktop.bottom, 1);
    EXPECT_EQ(textOf(open.view(u"headline")), "Doxly Creator Installation");
    // The licence wraps its lines, in the hosted edit control.
    const HWND licence = controlWindow(*static_cast<ControlView*>(open.view(u"licenseText")));
    EXPECT_EQ(GetWindowLongPtrW(licence, GWL_STYLE) & (WS_HSCROLL | ES_AUTOHSCROLL), 0);
    EXPECT_TRUE(IsWindowVisible(licence));
    // The native progress bar is hidden with its box.
    EXPECT_FALSE(IsWindowVisible(open.progressBar()));
    EXPECT_EQ(SendMessageW(open.progressBar(), PBM_GETRANGE, FALSE, 0), 100);
    expectRow(open, WelcomeRow);

    // Clicking the checked radio sends nothing; clicking the other one notifies for both.
    RadioRecorder recorder;
    open.page().getContext()->setListener(&recorder);
    std::vector<View*> radios;
    open.page().collectViewsByKind(radios, RadioKind);
    ASSERT_EQ(radios.size(), 2u);
    EXPECT_EQ(toUtf8(open.page().installMode()), "express");
    open.click(radios[0]);
    EXPECT_TRUE(recorder.changes.empty());
    open.click(radios[1]);
    EXPECT_EQ(recorder.changes, (std::vector<View*>{radios[0], radios[1]}));
    EXPECT_FALSE(static_cast<RadioView*>(radios[0])->isChecked());
    EXPECT_TRUE(static_cast<RadioView*>(radios[1])->isChecked());
    EXPECT_EQ(toUtf8(open.page().installMode()), "custom");
    open.page().getContext()->setListener(&open.page());

    open.page().updateProgress(5000, 10000);
    open.clickButton();
    ASSERT_EQ(open.page().getButtonAction(), ButtonAction::Cancel);
    open.clickButton();
    EXPECT_TRUE(open.download().stop);
    EXPECT_EQ(textOf(open.view(u"downloadStatus")), "0.00 Kb / 0.00 Kb / 0.00 Kb/s");
    EXPECT_FALSE(open.windowOpen());
    EXPECT_EQ(takeQuitMessages(), std::vector<WPARAM>{0});
    // A stopped worker leaves no file to start.
    ASSERT_TRUE(pumpUntil([&] { return !open.download().snapshot().running; }, 10000));
    EXPECT_EQ(toUtf8(open.download().snapshot().resultPath), "");
}

// The keys of the page: the action button has the focus from the start and Enter presses it;
// Escape cancels the download at once, and closes the welcome page as a dialog's would.
TEST_F(InstallerPage, EnterInstallsEscapeCancelsTheDownloadOrClosesThePage) {
    {
        OpenPage open;
        EXPECT_EQ(open.page().focusedView(), open.view(u"actionButton"));
        open.page().getWindow().sendMessage(WM_KEYDOWN, VK_RETURN, 1);
        ASSERT_EQ(open.page().getPageState(), PageState::Downloading);
        open.page().getWindow().sendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
        EXPECT_TRUE(open.download().stop);
        EXPECT_FALSE(open.windowOpen());
    }
    OpenPage open;
    open.page().getWindow().sendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(pumpUntil([&] { return !open.windowOpen(); }, 1000));
    EXPECT_EQ(open.page().getPageState(), PageState::Welcome);
}

TEST_F(InstallerPage, EveryStateShowsItsBoxesAndCaption) {
    OpenPage open;
    const StateRow rows[] = {
        {PageState::Downloading, false, false, true, true, ButtonAction::Cancel, "Cancel"},
        {PageState::Failed, false, false, true, true, ButtonAction::TryAgain, "Try again"},
        WelcomeRow,
    };
    for (const StateRow& row : rows) {
        open.page().setState(row.state);
        expectRow(open, row);
    }
    open.page().setState(PageState::Downloading);
    EXPECT_EQ(textOf(open.view(u"downloadFile")),
              "https://localhost:1/doxly-creator-latest-x64.exe");
    EXPECT_TRUE(IsWindowVisible(open.progressBar()));
    open.page().setState(PageState::Failed);
    EXPECT_EQ(textOf(open.view(u"downloadStatus")), "An error occurred while downloading.");
    // The message keeps its text above the progress area.
    EXPECT_TRUE(open.view(u"messageBox")->isDisplayed());
    EXPECT_EQ(textOf(open.view(u"messageBox")),
              "This installation program downloads the latest version of Doxly Creator and "
              "installs it on your computer.");

    // Launching without a downloaded file starts nothing and closes the window.
    open.page().setState(PageState::Launching);
    expectRow(open,
              {PageState::Launching, false, false, true, true, ButtonAction::Cancel, "Cancel"});
    // Of the two English lines of that text, the later one.
    EXPECT_EQ(textOf(open.view(u"downloadStatus")), "The installation is starting...");
    EXPECT_FALSE(open.windowOpen());
    EXPECT_EQ(takeQuitMessages(), std::vector<WPARAM>{0});
    EXPECT_TRUE(open.download().stop);
}

TEST_F(InstallerPage, ADownloadThatIsNoSignedProgramIsDeletedAndFailsWithItsOwnCode) {
    OpenPage open;
    open.page().setState(PageState::Downloading);
    // What the worker publishes after its last byte: the path and the file held open. This
    // test program is a real program, and unsigned.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const ZString setup = ZString::format(u"%s\\doxly-page-test-%d.exe", tempFolder(),
                                          static_cast<int>(GetCurrentProcessId()));
    ASSERT_TRUE(CopyFileW(self, setup.w_str(), FALSE));
    {
        DownloadLock hold(open.download());
        open.download().resultPath = setup;
        open.download().resultFile = CreateFileW(setup.w_str(), GENERIC_READ, FILE_SHARE_READ,
                                                 nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(open.download().resultFile, INVALID_HANDLE_VALUE);
    }
    open.page().setState(PageState::Launching);

    expectRow(open,
              {PageState::Failed, false, false, true, true, ButtonAction::TryAgain, "Try again"});
    EXPECT_EQ(textOf(open.view(u"downloadStatus")), "An error occurred while downloading.");
    EXPECT_TRUE(open.windowOpen());
    EXPECT_FALSE(open.download().stop);
    const DownloadSnapshot after = open.download().snapshot();
    EXPECT_EQ(after.error, DownloadSetupRejected);
    EXPECT_EQ(toUtf8(after.resultPath), "");
    EXPECT_EQ(open.download().takeResultFile(), INVALID_HANDLE_VALUE) << "still held";
    EXPECT_EQ(GetFileAttributesW(setup.w_str()), INVALID_FILE_ATTRIBUTES) << "not deleted";
    DeleteFileW(setup.w_str());
}

TEST_F(InstallerPage, AMachineWithoutABuildIsToldSoAndKeepsItsState) {
    // A 32-bit ARM machine: no build of the setup fits it.
    OpenPage open([] { return MachineFacts{5, true, 0}; });
    open.clickButton();
    EXPECT_EQ(textOf(open.view(u"messageBox")), "System not supported!");
    expectRow(open, WelcomeRow);
    EXPECT_FALSE(open.download().snapshot().running);
}

// Run with the locale of DOXLY_EXPECTED_LANGUAGE (tests/app/CMakeLists.txt).
TEST(UserLocale, TheLicenceIsGermanForGermanOnly) {
    const char* language = std::getenv("DOXLY_EXPECTED_LANGUAGE");
    if (!language)
        GTEST_SKIP() << "no locale named";
    OpenPage open;
    // The licence comes with the first paint.
    UpdateWindow(open.page().getWindow().getHandle());
    const ZString licence = static_cast<TextAreaView*>(open.view(u"licenseText"))->getValue();
    const bool german = std::string(language) == "de";
    EXPECT_EQ(licence, resourceFileText(german ? "license_German.txt" : "license_English.txt"));
    // French has texts of its own; a language without texts reads English.
    const std::string install = german                          ? "Installieren"
                                : std::string(language) == "fr" ? "Installer"
                                                                : "Install";
    EXPECT_EQ(open.caption(), install);
    if (!german)
        return;
    EXPECT_EQ(textOf(open.view(u"headline")), "Doxly Creator Installation");
    open.page().setState(PageState::Failed);
    EXPECT_EQ(open.caption(), "Erneut versuchen");
    EXPECT_EQ(textOf(open.view(u"downloadStatus")),
              "Beim Herunterladen ist ein Fehler aufgetreten.");
    open.page().setState(PageState::Downloading);
    EXPECT_EQ(open.caption(), "Abbrechen");
}

namespace {

// The calls the page makes on its taskbar progress, in order; "made" when the page makes one.
std::vector<std::string> taskbarCalls;

class TaskbarRecorder : public TaskbarProgress {
public:
    void setState(int state) override {
        taskbarCalls.push_back(state == TBPF_NORMAL       ? "normal"
                               : state == TBPF_ERROR      ? "error"
                               : state == TBPF_NOPROGRESS ? "none"
                                                          : "state " + std::to_string(state));
    }
    void setPercent(int percent) override { taskbarCalls.push_back(std::to_string(percent)); }
};

std::unique_ptr<TaskbarProgress> recordTaskbar(HWND) {
    taskbarCalls.push_back("made");
    return std::make_unique<TaskbarRecorder>();
}

// The recording factory, with nothing recorded yet.
TaskbarProgressFactory newRecording() {
    taskbarCalls.clear();
    return recordTaskbar;
}

// A page whose taskbar progress is recorded; the shell's button is announced by buttonCreated.
class TaskbarPage : public OpenPage {
public:
    TaskbarPage() : OpenPage(windows10Amd64, newRecording()) {}
    void buttonCreated() {
        page().getWindow().sendMessage(RegisterWindowMessageW(L"TaskbarButtonCreated"));
    }
    // What a worker publishes, seen by the page's next poll.
    void publish(int32_t received, int32_t total) {
        {
            DownloadLock hold(download());
            download().running = true;
            download().received = received;
            download().total = total;
        }
        const int percent = total > 0 ? static_cast<int>(received * 100LL / total) : 0;
        EXPECT_TRUE(pumpUntil(
            [&] { return SendMessageW(progressBar(), PBM_GETPOS, 0, 0) == percent; }, 5000));
    }
    // The worker's end with that error, and the state the page switches to.
    void finish(int32_t error) {
        {
            DownloadLock hold(download());
            download().running = false;
            download().error = error;
        }
        EXPECT_TRUE(
            pumpUntil([&] { return page().getPageState() != PageState::Downloading; }, 5000));
    }
};

} // namespace

TEST_F(InstallerPage, TheTaskbarShowsTheDownloadOnceTheShellHasMadeTheButton) {
    TaskbarPage open;
    // The shell has not announced the button yet: nothing may reach it.
    open.page().setState(PageState::Downloading);
    open.publish(100, 1000);
    EXPECT_EQ(taskbarCalls, std::vector<std::string>{});
    // Announced during the download, the button catches up with the page.
    open.buttonCreated();
    EXPECT_EQ(taskbarCalls, (std::vector<std::string>{"made", "normal", "10"}));
    taskbarCalls.clear();
    open.publish(250, 1000);
    // Polls that see the same figures leave the button alone.
    pump(250);
    open.publish(999, 1000);
    open.publish(1000, 1000);
    // A success without a file to start ends the program.
    open.finish(DownloadOk);
    EXPECT_EQ(taskbarCalls, (std::vector<std::string>{"25", "99", "100", "none"}));
    EXPECT_FALSE(open.windowOpen());
}

TEST_F(InstallerPage, AFailedDownloadShowsTheErrorStateOnTheTaskbarUntilTheNextTry) {
    TaskbarPage open;
    open.buttonCreated();
    // The welcome state shows no progress.
    EXPECT_EQ(taskbarCalls, (std::vector<std::string>{"made", "none"}));
    taskbarCalls.clear();
    // A real worker, which nothing answers, fails soon.
    open.download().timing = {1, 1000};
    open.clickButton();
    ASSERT_TRUE(pumpUntil([&] { return open.page().getPageState() == PageState::Failed; }, 20000));
    EXPECT_EQ(taskbarCalls, (std::vector<std::string>{"normal", "0", "error"}));
    taskbarCalls.clear();
    open.page().setState(PageState::Downloading);
    open.publish(400, 1000);
    open.finish(DownloadReadFailed);
    // The next try starts where the page's bar stands.
    open.page().setState(PageState::Downloading);
    EXPECT_EQ(taskbarCalls,
              (std::vector<std::string>{"normal", "0", "40", "error", "normal", "40"}));
    open.page().setState(PageState::Failed);
    // A shell that starts again makes the button again, which shows the page's state.
    taskbarCalls.clear();
    open.buttonCreated();
    EXPECT_EQ(taskbarCalls, (std::vector<std::string>{"made", "error"}));
}

// Wine's shell has the list too, though its button shows nothing.
TEST_F(InstallerPage, TheShellsTaskbarListIsMadeForTheWindow) {
    OpenPage open;
    EXPECT_NE(shellTaskbarProgress(open.page().getWindow().getHandle()), nullptr);
    open.page().getWindow().sendMessage(RegisterWindowMessageW(L"TaskbarButtonCreated"));
    open.page().setState(PageState::Failed);
}

// The page as someone who asks for high contrast sees it, the setting switched on while it shows.
TEST_F(InstallerPage, InHighContrastThePageWearsTheSystemsColours) {
    OpenPage open;
    setViewPlatform(&contrastPlatform());
    contrastPlatform().colors = Contrast;
    open.page().getWindow().sendMessage(WM_SYSCOLORCHANGE);
    const Capture shown(open.page());
    shown.save(u"installer-high-contrast");
    contrastPlatform().colors.reset();

    const Rgb window = rgb(Contrast.window);
    // The corners, where the body's gradient was.
    for (const POINT p : {POINT{2, 2}, POINT{797, 2}, POINT{2, 497}, POINT{797, 497}})
        EXPECT_EQ(shown.at(p.x, p.y), window) << p.x << "," << p.y;
    std::vector<View*> words;
    open.view(u"headline")->collectViewsByKind(words, WordKind);
    ASSERT_FALSE(words.empty());
    EXPECT_GT(shown.count(words.front()->getRect(), rgb(Contrast.windowText)), 20);
    const Rect face = static_cast<BoxView*>(open.view(u"actionButton"))->getContentRect();
    EXPECT_EQ(shown.at(face.left + 3, face.top + 3), rgb(Contrast.buttonFace));
    EXPECT_GT(shown.count(face, rgb(Contrast.buttonText)), 20);
    const Rect licence =
        placedRect(controlWindow(*static_cast<ControlView*>(open.view(u"licenseText"))),
                   open.page().getWindow().getHandle());
    EXPECT_GT(shown.count(licence, window), licence.width() * licence.height() / 2);
}
