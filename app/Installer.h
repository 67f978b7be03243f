#pragma once

#include "app/InstallerUI.h"
#include "app/MachineFacts.h"
#include "base/BaseInstance.h"
#include "download/DownloadState.h"

#include <memory>

// Where the setup program comes from: the machine the choice of build depends on, the server it
// is downloaded from and the publisher whose signature it must carry.
struct SetupSource {
    MachineFacts (*facts)() = currentMachineFacts;
    ZString host;
    ZString publisher;
};

// What lives for the whole run. Constructing it makes it the process-wide current application.
class BaseApp : public BaseInstance {
public:
    // A null instance is the program's own module.
    explicit BaseApp(HINSTANCE instance);
    ~BaseApp() override;
};

// The registered application; one per process.
extern BaseApp* currentApp;

// The installer: the download record shared with the worker, and the page.
class Installer : public BaseApp {
public:
    Installer(HINSTANCE instance, SetupSource source);

    // The application the page belongs to.
    static Installer& current() { return static_cast<Installer&>(*currentApp); }

    DownloadState& downloadState() { return *download_; }
    const SetupSource& setupSource() const { return source_; }
    InstallerUI& page() { return *page_; }
    // The address of the setup program for this machine; empty when the machine is not
    // supported.
    ZString downloadUrl() const;

private:
    // Never freed: a worker that is never joined may still use it when the process ends.
    DownloadState* download_;
    SetupSource source_;
    // Deleted before the module part, with the view tree and its controls.
    std::unique_ptr<InstallerUI> page_;
};
