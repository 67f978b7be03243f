#include "app/InstallerUI.h"

#include "app/Installer.h"
#include "app/SetupCheck.h"
#include "download/DownloadWorker.h"
#include "xhtml/document/UrlLoader.h"
#include "xhtml/frame/Win32Controls.h"
#include "xhtml/views/Dpi.h"
#include "xhtml/views/ViewContext.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <vector>

using namespace xhtml;

namespace {

const char16_t* captionKey(InstallerUI::ButtonAction action) {
    switch (action) {
    case InstallerUI::ButtonAction::Install:
        return u"install";
    case InstallerUI::ButtonAction::TryAgain:
        return u"tryAgain";
    case InstallerUI::ButtonAction::Cancel:
        break;
    }
    return u"cancel";
}

} // namespace

InstallerUI::InstallerUI(ViewContext* context) : FrameView(context) {
    context->setFrame(this);
}

InstallerUI::~InstallerUI() {
    // The window goes with the frame part, after this part: its last messages must not reach a
    // listener that is gone.
    getContext()->setListener(nullptr);
}

LRESULT InstallerUI::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Again after the shell restarts: the list it made before is gone with it.
    if (taskbarButtonCreated_ != 0 && message == taskbarButtonCreated_) {
        taskbar_ = taskbarFactory_(getWindow().getHandle());
        showTaskbarProgress();
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        buildPage();
        return 0;
    case WM_PAINT: {
        const LRESULT result = FrameView::handleMessage(message, wParam, lParam);
        // The licence's control wraps its long text when it gets it (15 to 40 ms under Wine):
        // after the first paint, so that the page shows without waiting for it.
        if (!licenceFilled_) {
            licenceFilled_ = true;
            fillLicence();
        }
        return result;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        getWindow().destroy();
        return 0;
    default:
        return FrameView::handleMessage(message, wParam, lParam);
    }
}

void InstallerUI::buildPage() {
    loadTranslations(texts_);
    BaseWindow& window = getWindow();
    window.sendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Doxly Creator Installer"));
    taskbarButtonCreated_ = allowTaskbarButtonCreated(window.getHandle());
    window.setIconFromOwnModule(100);
    getContext()->setListener(this);
    setDefaultButton(u"actionButton");
    setScrollMode(BothAxes, Never);
    setAutoSize(false, false);

    const auto module = reinterpret_cast<HMODULE>(window.getLong(GWLP_HINSTANCE));
    ZString markup;
    UrlLoader::loadResourceText(u"res:///installer.xhtml", markup, module);
    const ZString base = u"res:///";
    setContent(substitutePagePlaceholders(markup, texts_), &base);

    static_cast<TextAreaView*>(getViewById(u"licenseText"))->setHorizontalScroll(false);

    const HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                     window.getHandle(), nullptr, module, nullptr);
    if (bar)
        setControl(*static_cast<ControlView*>(getViewById(u"progressBar")), bar, true);

    window.setClientSize(scale(800), scale(500), false);
    window.centerOnDesktop(false);
    // The first layout and paint show only the welcome state's parts.
    setState(PageState::Welcome);
    window.show(true);
    progressTimer_ = View::setTimer(100, 0);
}

void InstallerUI::fillLicence() {
    ZString text;
    BaseInstance(reinterpret_cast<HMODULE>(getWindow().getLong(GWLP_HINSTANCE)))
        .loadTextResource(
            userLanguage().equals(u"de") ? u"license_German.txt" : u"license_English.txt", text);
    static_cast<TextAreaView*>(getViewById(u"licenseText"))->setValue(text);
}

void InstallerUI::showBox(const char16_t* id, bool shown) {
    getViewById(id)->changeProperty(PropertyId::Display, StyleValue::integer(shown ? 1 : 0));
}

void InstallerUI::setTextOf(const char16_t* id, const ZString& text) {
    static_cast<CompositeView*>(getViewById(id))->setText(text);
}

void InstallerUI::setMessage(const ZString& markup) {
    static_cast<CompositeView*>(getViewById(u"messageBox"))->setMarkup(markup);
}

void InstallerUI::setState(PageState state) {
    state_ = state;
    showTaskbarProgress();
    if (state == PageState::Downloading)
        setTextOf(u"downloadFile", Installer::current().downloadUrl());
    const bool welcome = state == PageState::Welcome;
    showBox(u"licenseTextBox", welcome);
    showBox(u"installModeBox", welcome);
    showBox(u"progressBarOuter", !welcome);
    showBox(u"downloadStatus", !welcome);
    if (state == PageState::Failed)
        setTextOf(u"downloadStatus", translate(texts_, u"errorWhileDownloading"));
    else if (state == PageState::Launching)
        setTextOf(u"downloadStatus", translate(texts_, u"startingInstallation"));

    action_ = welcome                      ? ButtonAction::Install
              : state == PageState::Failed ? ButtonAction::TryAgain
                                           : ButtonAction::Cancel;
    // Escape cancels what the button cancels, and otherwise closes the window.
    setCancelButton(action_ == ButtonAction::Cancel ? u"actionButton" : u"");
    auto* button = static_cast<ButtonView*>(getViewById(u"actionButton"));
    button->changeProperty(PropertyId::Display, StyleValue::integer(1));
    button->setValue(translate(texts_, captionKey(action_)));
    if (welcome)
        setMessage(translate(texts_, u"startText"));

    if (state == PageState::Launching)
        launchSetup();
    else
        scheduleUpdate(true);
}

void InstallerUI::onAction(ButtonAction action) {
    DownloadState& download = Installer::current().downloadState();
    if (action == ButtonAction::Cancel) {
        download.requestStop();
        updateProgress(0, 0);
        closeWindow();
        return;
    }
    const ZString url = Installer::current().downloadUrl();
    if (url.isEmpty()) {
        setMessage(u"System not supported!");
        return;
    }
    if (download.snapshot().running)
        return;
    // A thread that cannot start is published as a failed attempt, which the next poll shows.
    startDownload(download, url);
    setState(PageState::Downloading);
}

void InstallerUI::onButtonClicked(View* view) {
    if (view->getId().equals(u"actionButton"))
        onAction(action_);
}

void InstallerUI::onLinkClicked(View* view) {
    const StyleValue* href = view->findOwnProperty(PropertyId::Href, Normal);
    const ZString target = href ? href->stringValue() : ZString();
    ShellExecuteW(nullptr, L"open", target.w_str(), nullptr, nullptr, SW_SHOW);
}

void InstallerUI::onTimer(unsigned id) {
    if (id == progressTimer_ && state_ == PageState::Downloading) {
        const DownloadSnapshot now = Installer::current().downloadState().snapshot();
        updateProgress(now.received, now.total);
        if (!now.running)
            setState(now.error != DownloadOk ? PageState::Failed : PageState::Launching);
    }
    FrameView::onTimer(id);
}

void InstallerUI::updateProgress(int32_t received, int32_t total) {
    const int32_t rate = rate_.sample(GetTickCount(), received);
    const int percent = progressPercent(received, total);
    SendMessageW(progressBar(), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    if (taskbar_ && state_ == PageState::Downloading && percent != percent_)
        taskbar_->setPercent(percent);
    percent_ = percent;
    setTextOf(u"downloadStatus", progressStatus(received, total, rate));
}

ZString InstallerUI::installMode() {
    std::vector<View*> radios;
    collectViewsByKind(radios, RadioKind);
    for (View* view : radios) {
        const auto* radio = static_cast<RadioView*>(view);
        if (radio->getName().equals(u"installMode") && radio->isChecked())
            return radio->getValue();
    }
    return ZString();
}

void InstallerUI::launchSetup() {
    DownloadState& download = Installer::current().downloadState();
    const ZString setup = download.snapshot().resultPath;
    // Open since the worker's last byte, so what is checked is what starts.
    const HANDLE file = download.takeResultFile();
    if (file != INVALID_HANDLE_VALUE) {
        if (checkSetup(file, setup, Installer::current().setupSource().publisher) !=
            SetupVerdict::Trusted) {
            CloseHandle(file);
            DeleteFileW(setup.w_str());
            {
                DownloadLock hold(download);
                download.error = DownloadSetupRejected;
                download.resultPath = ZString();
            }
            setState(PageState::Failed);
            return;
        }
        ZString parameters = u"/FromSmallInstaller /SkipLicensePage";
        if (installMode().equals(u"express"))
            parameters.append(u" /SILENT");
        ShellExecuteW(getWindow().getHandle(), L"open", setup.w_str(), parameters.w_str(), nullptr,
                      SW_SHOW);
        CloseHandle(file);
    }
    download.requestStop();
    closeWindow();
}

void InstallerUI::closeWindow() {
    getWindow().sendMessage(WM_CLOSE);
}

HWND InstallerUI::progressBar() {
    return controlWindow(*static_cast<ControlView*>(getViewById(u"progressBar")));
}

void InstallerUI::showTaskbarProgress() {
    if (!taskbar_)
        return;
    if (state_ == PageState::Downloading) {
        taskbar_->setState(TBPF_NORMAL);
        taskbar_->setPercent(percent_);
    } else {
        taskbar_->setState(state_ == PageState::Failed ? TBPF_ERROR : TBPF_NOPROGRESS);
    }
}
