#include "base/BaseInstance.h"

BaseInstance::BaseInstance(HMODULE module)
    : module_(module ? module : GetModuleHandleW(nullptr)), ownsModule_(false) {}

BaseInstance::BaseInstance(const ZString& libraryFileName)
    : module_(LoadLibraryExW(libraryFileName.w_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)),
      ownsModule_(true) {}

BaseInstance::~BaseInstance() {
    if (ownsModule_ && module_)
        FreeLibrary(module_);
}

HMODULE BaseInstance::getInstance() const {
    return module_;
}

HBITMAP BaseInstance::loadBitmap(WORD id) const {
    return LoadBitmapW(module_, MAKEINTRESOURCEW(id));
}

HBITMAP BaseInstance::loadBitmap(const wchar_t* name) const {
    return LoadBitmapW(module_, name);
}

HMENU BaseInstance::loadMenu(WORD id) const {
    return LoadMenuW(module_, MAKEINTRESOURCEW(id));
}

HMENU BaseInstance::loadMenu(const wchar_t* name) const {
    return LoadMenuW(module_, name);
}

HICON BaseInstance::loadIcon(WORD id) const {
    return loadIcon(MAKEINTRESOURCEW(id));
}

HICON BaseInstance::loadIcon(const wchar_t* name) const {
    return LoadIconW(module_, name);
}

HICON BaseInstance::loadIcon(WORD id, int cx, int cy) const {
    return loadIcon(MAKEINTRESOURCEW(id), cx, cy);
}

HICON BaseInstance::loadIcon(const wchar_t* name, int cx, int cy) const {
    return static_cast<HICON>(LoadImageW(module_, name, IMAGE_ICON, cx, cy, LR_SHARED));
}

ZString BaseInstance::getModuleFileName() const {
    ZString path(1040);
    const DWORD length = GetModuleFileNameW(module_, path.wdata(), 1040);
    if (length == 0)
        return ZString();
    path.setLength(static_cast<int>(length));
    return path;
}

std::optional<std::span<const unsigned char>>
BaseInstance::findDataResource(const ZString& name) const {
    HRSRC resource = FindResourceW(module_, name.w_str(), RT_RCDATA);
    if (!resource)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(module_, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return std::nullopt;
    return std::span(static_cast<const unsigned char*>(bytes), SizeofResource(module_, resource));
}

int BaseInstance::loadTextResource(const ZString& name, ZString& out) const {
    const auto bytes = findDataResource(name);
    if (!bytes)
        return -1;
    if (!bytes->empty()) {
        const std::u16string text =
            fromUtf8(reinterpret_cast<const char*>(bytes->data()), static_cast<int>(bytes->size()));
        out.append(text.c_str(), static_cast<int>(text.size()));
    }
    return static_cast<int>(bytes->size());
}
