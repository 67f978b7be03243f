// The installer's page in a real window under the test display, driven by the mouse messages a
// user's clicks make. Its downloads go to a port where nothing listens, so they fail at once.
#include "app/Installer.h"
#include "tests/ResourceFiles.h"
#include "tests/TemporaryFolder.h"
#include "tests/base/ZStringPrinter.h"
#include "xhtml/frame/Win32Controls.h"
#include "xhtml/views/Dpi.h"
#include "xhtml/views/InlineViews.h"
#include "xhtml/views/ViewContext.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace xhtml;
using PageState = InstallerUI::PageState;
using ButtonAction = InstallerUI::ButtonAction;

namespace {

constexpr const char16_t* UnusedPortHost = u"localhost:1";

MachineFacts windows10Amd64() {
    return {ArchitectureAmd64, true, 0};
}

// A 32-bit ARM machine: no build of the setup fits it.
MachineFacts windows10Arm() {
    return {5, true, 0};
}

// Runs the thread's messages until the condition holds or the time is up; a quit message the
// page posts is kept count of, not obeyed.
bool pumpUntil(const std::function<bool()>& done, int milliseconds, int* quits = nullptr) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    MSG message;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                if (quits)
                    ++*quits;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
    return true;
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

// The page's texts in the user's language, read from the file the program carries.
std::string pageText(const char16_t* key) {
    TextTable table;
    parseTranslations(table, resourceFileText("i18n.txt"), userLanguage());
    return toUtf8(translate(table, key));
}

// Passes every notification on to the page and keeps the radio changes.
class RadioRecorder : public EventListener {
public:
    explicit RadioRecorder(EventListener& page) : page_(page) {}
    void onRadioChanged(View* view) override {
        changes.push_back(view);
        page_.onRadioChanged(view);
    }

    std::vector<View*> changes;

private:
    EventListener& page_;
};

// The installer as the program makes it: the application object and the page in its window.
class OpenPage {
public:
    explicit OpenPage(MachineFacts (*facts)() = windows10Amd64)
        : app_(nullptr, SetupSource{facts, UnusedPortHost}) {
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
    int progressPosition() {
        return static_cast<int>(SendMessageW(progressBar(), PBM_GETPOS, 0, 0));
    }
    std::vector<RadioView*> radios() {
        std::vector<View*> views;
        page().collectViewsByKind(views, RadioKind);
        std::vector<RadioView*> out;
        for (View* radio : views)
            out.push_back(static_cast<RadioView*>(radio));
        return out;
    }

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
    const char16_t* captionKey;
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
    EXPECT_EQ(open.caption(), pageText(row.captionKey));
}

} // namespace

TEST_F(InstallerPage, BuildsTheWelcomePageInACentredWindow) {
    OpenPage open;
    BaseWindow& window = open.page().getWindow();
    EXPECT_EQ(toUtf8(window.getText()), "Doxly Creator Installer");
    EXPECT_EQ(toUtf8(window.getClassName()), "XhtmlFrameView");
    EXPECT_TRUE(window.isVisible());
    EXPECT_NE(window.sendMessage(WM_GETICON, ICON_BIG), 0);
    EXPECT_NE(window.sendMessage(WM_GETICON, ICON_SMALL), 0);
    const SIZE client = window.getClientSize();
    EXPECT_EQ(client.cx, scale(800));
    EXPECT_EQ(client.cy, scale(500));
    // Neither axis scrolls, whatever the content.
    EXPECT_FALSE(window.getLong(GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const RECT frame = window.getWindowRect();
    EXPECT_NEAR(frame.left + frame.right, desktop.right, 1);
    EXPECT_NEAR(frame.top + frame.bottom, desktop.bottom, 1);

    EXPECT_EQ(textOf(open.view(u"headline")), pageText(u"headline"));
    EXPECT_EQ(textOf(open.view(u"messageBox")), pageText(u"startText"));
    EXPECT_EQ(textOf(open.view(u"installModeBox")).find("{lang"), std::string::npos);
    // The licence wraps its lines, in the hosted edit control.
    const HWND licence = controlWindow(*static_cast<ControlView*>(open.view(u"licenseText")));
    ASSERT_NE(licence, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(licence, GWL_STYLE) & (WS_HSCROLL | ES_AUTOHSCROLL), 0);
    EXPECT_TRUE(IsWindowVisible(licence));
    // The progress bar is a native child of the page, hidden with its box.
    ASSERT_NE(open.progressBar(), nullptr);
    wchar_t className[64] = {};
    GetClassNameW(open.progressBar(), className, 64);
    EXPECT_EQ(toUtf8(className), "msctls_progress32");
    EXPECT_EQ(GetParent(open.progressBar()), window.getHandle());
    EXPECT_FALSE(IsWindowVisible(open.progressBar()));
    EXPECT_EQ(SendMessageW(open.progressBar(), PBM_GETRANGE, FALSE, 0), 100);
    expectRow(open,
              {PageState::Welcome, true, true, false, false, ButtonAction::Install, u"install"});
}

TEST_F(InstallerPage, EveryStateShowsItsPartsAndCaption) {
    OpenPage open;
    const StateRow rows[] = {
        {PageState::Downloading, false, false, true, true, ButtonAction::Cancel, u"cancel"},
        {PageState::Failed, false, false, true, true, ButtonAction::TryAgain, u"tryAgain"},
        {PageState::Welcome, true, true, false, false, ButtonAction::Install, u"install"},
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
    EXPECT_EQ(textOf(open.view(u"downloadStatus")), pageText(u"errorWhileDownloading"));
    // The message keeps its text above the progress area.
    EXPECT_TRUE(open.view(u"messageBox")->isDisplayed());
    EXPECT_EQ(textOf(open.view(u"messageBox")), pageText(u"startText"));

    // Launching without a downloaded file starts nothing and closes the window.
    open.page().setState(PageState::Launching);
    expectRow(open,
              {PageState::Launching, false, false, true, true, ButtonAction::Cancel, u"cancel"});
    EXPECT_EQ(textOf(open.view(u"downloadStatus")), pageText(u"startingInstallation"));
    EXPECT_FALSE(open.windowOpen());
    EXPECT_EQ(takeQuitMessages(), std::vector<WPARAM>{0});
    EXPECT_TRUE(open.download().stop);
}

TEST_F(InstallerPage, TheButtonInstallsRetriesAndCancels) {
    OpenPage open;
    open.clickButton();
    EXPECT_EQ(open.page().getPageState(), PageState::Downloading);
    EXPECT_EQ(toUtf8(open.download().snapshot().resultPath), "");
    EXPECT_EQ(textOf(open.view(u"downloadFile")),
              "https://localhost:1/doxly-creator-latest-x64.exe");
    // Nothing listens there: the poll sees the failure.
    ASSERT_TRUE(pumpUntil([&] { return open.page().getPageState() == PageState::Failed; }, 10000));
    EXPECT_NE(open.download().snapshot().error, DownloadOk);
    EXPECT_EQ(open.caption(), pageText(u"tryAgain"));

    open.clickButton();
    EXPECT_EQ(open.page().getPageState(), PageState::Downloading);
    EXPECT_EQ(open.caption(), pageText(u"cancel"));
    ASSERT_TRUE(pumpUntil([&] { return open.page().getPageState() == PageState::Failed; }, 10000));
    EXPECT_TRUE(open.windowOpen());
}

TEST_F(InstallerPage, CancelStopsTheDownloadAndEndsTheProgram) {
    OpenPage open;
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

TEST_F(InstallerPage, AMachineWithoutABuildIsToldSoAndKeepsItsState) {
    OpenPage open(windows10Arm);
    open.clickButton();
    EXPECT_EQ(textOf(open.view(u"messageBox")), "System not supported!");
    expectRow(open,
              {PageState::Welcome, true, true, false, false, ButtonAction::Install, u"install"});
    EXPECT_FALSE(open.download().snapshot().running);

    open.page().setState(PageState::Failed);
    open.clickButton();
    EXPECT_EQ(open.page().getPageState(), PageState::Failed);
    EXPECT_EQ(open.page().getButtonAction(), ButtonAction::TryAgain);
    EXPECT_FALSE(open.download().snapshot().running);
    EXPECT_TRUE(open.windowOpen());
}

TEST_F(InstallerPage, StatusLineAndProgressBar) {
    OpenPage open;
    open.page().setState(PageState::Downloading);
    // No size announced: the bar stays empty and the total reads 0.
    open.page().updateProgress(5000, 0);
    EXPECT_EQ(textOf(open.view(u"downloadStatus")), "4.88 Kb / 0.00 Kb / 0.00 Kb/s");
    EXPECT_EQ(open.progressPosition(), 0);
    open.page().updateProgress(3670016, 10485760);
    EXPECT_EQ(textOf(open.view(u"downloadStatus")).rfind("3.50 Mb / 10.00 Mb / ", 0), 0u);
    EXPECT_EQ(open.progressPosition(), 35);
    // Fewer bytes than before: a new attempt, whose first figure has no rate yet.
    open.page().updateProgress(1024, 10485760);
    EXPECT_EQ(textOf(open.view(u"downloadStatus")), "1.00 Kb / 10.00 Mb / 0.00 Kb/s");
    EXPECT_EQ(open.progressPosition(), 0);
}

TEST_F(InstallerPage, RadioClicksChangeTheModeAndNotifyOncePerChangedButton) {
    OpenPage open;
    RadioRecorder recorder(open.page());
    open.page().getContext()->setListener(&recorder);
    const std::vector<RadioView*> radios = open.radios();
    ASSERT_EQ(radios.size(), 2u);
    EXPECT_EQ(toUtf8(open.page().installMode()), "express");

    open.click(radios[0]);
    EXPECT_TRUE(recorder.changes.empty());
    EXPECT_EQ(toUtf8(open.page().installMode()), "express");

    open.click(radios[1]);
    EXPECT_EQ(recorder.changes, (std::vector<View*>{radios[0], radios[1]}));
    EXPECT_FALSE(radios[0]->isChecked());
    EXPECT_TRUE(radios[1]->isChecked());
    EXPECT_EQ(toUtf8(open.page().installMode()), "custom");

    open.click(radios[1]);
    EXPECT_EQ(recorder.changes.size(), 2u);
    radios[1]->setChecked(false, false);
    EXPECT_EQ(toUtf8(open.page().installMode()), "");
    open.page().getContext()->setListener(&open.page());
}

// The demo setup records how it was started in a file of the test's own.
class SetupLog {
public:
    SetupLog() : path_(folder_.path("setup.log")) {
        SetEnvironmentVariableW(L"DOXLY_DEMO_SETUP_LOG", path_.c_str());
    }
    ~SetupLog() { SetEnvironmentVariableW(L"DOXLY_DEMO_SETUP_LOG", nullptr); }

    // The lines written so far, after waiting up to ten seconds for the first.
    std::vector<std::string> lines() {
        pumpUntil([&] { return std::filesystem::exists(path_); }, 10000);
        std::ifstream file(path_);
        std::vector<std::string> out;
        for (std::string line; std::getline(file, line);)
            out.push_back(line);
        return out;
    }

private:
    TemporaryFolder folder_;
    std::filesystem::path path_;
};

ZString demoSetup() {
    ZString path = u"" DOXLY_DEMO_SETUP;
    path.replaceChars(u"/", u'\\');
    return path;
}

// A finished download as the worker publishes it.
void finishDownload(DownloadState& download, const ZString& resultPath) {
    DownloadLock hold(download);
    download.running = false;
    download.error = DownloadOk;
    download.resultPath = resultPath;
}

TEST_F(InstallerPage, AFinishedDownloadIsStartedSilentlyInExpressMode) {
    SetupLog log;
    OpenPage open;
    open.page().setState(PageState::Downloading);
    finishDownload(open.download(), demoSetup());
    int quits = 0;
    ASSERT_TRUE(pumpUntil([&] { return !open.windowOpen(); }, 5000, &quits));
    EXPECT_EQ(open.page().getPageState(), PageState::Launching);
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(open.download().stop);
    EXPECT_EQ(log.lines(),
              std::vector<std::string>{"/FromSmallInstaller /SkipLicensePage /SILENT"});
}

TEST_F(InstallerPage, WithNoModeCheckedTheSetupIsNotSilent) {
    SetupLog log;
    OpenPage open;
    for (RadioView* radio : open.radios())
        radio->setChecked(false, false);
    open.page().setState(PageState::Downloading);
    finishDownload(open.download(), demoSetup());
    ASSERT_TRUE(pumpUntil([&] { return !open.windowOpen(); }, 5000));
    EXPECT_EQ(log.lines(), std::vector<std::string>{"/FromSmallInstaller /SkipLicensePage"});
}

TEST_F(InstallerPage, ALinkOpensItsTarget) {
    SetupLog log;
    OpenPage open;
    static_cast<CompositeView*>(open.view(u"messageBox"))
        ->setMarkup(ZString(u"<a id='link' href='") + demoSetup() + u"'>setup</a>");
    open.page().scheduleUpdate(true);
    // A link is hit where its words are.
    std::vector<View*> words;
    open.view(u"link")->collectViewsByKind(words, WordKind);
    ASSERT_EQ(words.size(), 1u);
    open.click(words[0]);
    // Started without arguments: one empty line.
    EXPECT_EQ(log.lines(), std::vector<std::string>{""});
    EXPECT_TRUE(open.windowOpen());
}

// Run with the locale of DOXLY_EXPECTED_LANGUAGE (tests/app/CMakeLists.txt).
TEST(UserLocale, TheLicenceIsGermanForGermanOnly) {
    const char* language = std::getenv("DOXLY_EXPECTED_LANGUAGE");
    if (!language)
        GTEST_SKIP() << "no locale named";
    OpenPage open;
    const ZString licence = static_cast<TextAreaView*>(open.view(u"licenseText"))->getValue();
    const bool german = std::string(language) == "de";
    EXPECT_EQ(licence, resourceFileText(german ? "license_German.txt" : "license_English.txt"));
    EXPECT_EQ(open.caption(), german ? "Installieren" : pageText(u"install"));
    EXPECT_NE(open.caption(), "");
    takeQuitMessages();
}
