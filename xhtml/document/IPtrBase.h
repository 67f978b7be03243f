#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

namespace xhtml {

// Base of objects shared through counted references (IPtr). The count starts at 0; the holder
// that drops the last reference deletes the object. The count is atomic because a reference may
// be taken or dropped on another thread than the one that made the object.
class IPtrBase {
public:
    IPtrBase() = default;
    IPtrBase(const IPtrBase&) = delete;
    IPtrBase& operator=(const IPtrBase&) = delete;
    virtual ~IPtrBase() = default;

    void addRef() { count_.fetch_add(1, std::memory_order_relaxed); }
    void release() {
        if (count_.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }
    int32_t refCount() const { return count_.load(std::memory_order_relaxed); }

private:
    std::atomic<int32_t> count_{0};
};

// One counted reference to an IPtrBase object; null or holding exactly one count.
template <typename T> class IPtr {
public:
    IPtr() = default;
    explicit IPtr(T* object) : object_(object) {
        if (object_)
            object_->addRef();
    }
    IPtr(const IPtr& other) : IPtr(other.object_) {}
    IPtr(IPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ~IPtr() {
        if (object_)
            object_->release();
    }

    IPtr& operator=(IPtr other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

} // namespace xhtml
