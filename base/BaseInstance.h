#pragma once

#include "base/ZString.h"

#include <optional>
#include <span>
#include <windows.h>

// A module whose resources are read: the program's own file or a library file.
class BaseInstance {
public:
    // A null handle stands for the program's own file.
    explicit BaseInstance(HMODULE module = nullptr);
    // Maps the library for its resources only: no code of it runs, since the name may come from
    // a document address. A file that cannot be mapped leaves a null handle.
    explicit BaseInstance(const ZString& libraryFileName);
    BaseInstance(const BaseInstance&) = delete;
    BaseInstance& operator=(const BaseInstance&) = delete;
    virtual ~BaseInstance();

    virtual HMODULE getInstance() const;
    virtual HBITMAP loadBitmap(WORD id) const;
    virtual HBITMAP loadBitmap(const wchar_t* name) const;
    virtual HMENU loadMenu(WORD id) const;
    virtual HMENU loadMenu(const wchar_t* name) const;
    virtual HICON loadIcon(WORD id) const;
    virtual HICON loadIcon(const wchar_t* name) const;
    virtual HICON loadIcon(WORD id, int cx, int cy) const;
    virtual HICON loadIcon(const wchar_t* name, int cx, int cy) const;
    // Empty when the module has no file name (a library mapped as data has none).
    virtual ZString getModuleFileName() const;

    // The bytes of the RT_RCDATA resource (name in any letter case) as they lie in the module;
    // nothing when it is missing or cannot be loaded.
    std::optional<std::span<const unsigned char>> findDataResource(const ZString& name) const;
    // Appends the UTF-8 resource as UTF-16 (a byte-order mark stays as U+FEFF) and returns its
    // size in bytes; -1 and nothing appended when it is missing.
    int loadTextResource(const ZString& name, ZString& out) const;

private:
    HMODULE module_;
    bool ownsModule_;
};
