#include "app/Installer.h"

#include "xhtml/views/ViewContext.h"

BaseApp* currentApp = nullptr;

BaseApp::BaseApp(HINSTANCE instance)
    : BaseInstance(instance ? instance : GetModuleHandleW(nullptr)) {
    currentApp = this;
}

BaseApp::~BaseApp() {
    if (currentApp == this)
        currentApp = nullptr;
}

Installer::Installer(HINSTANCE instance, SetupSource source)
    : BaseApp(instance), download_(new DownloadState), source_(std::move(source)),
      page_(std::make_unique<InstallerUI>(new xhtml::ViewContext(getInstance()))) {}

ZString Installer::downloadUrl() const {
    return downloadUrlFor(source_.facts(), source_.host);
}
