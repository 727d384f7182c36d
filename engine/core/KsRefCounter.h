#pragma once

#include <cstdint>
#include <utility>

// Base of every shared engine object (streams, containers, fonts, property containers, image
// sources). A new object starts at 0 and reaches 1 when the first holder takes it; the last holder
// to let go destroys it. Counts are plain integers: an object and its holders belong to one thread
// at a time.
class KsRefCounter {
public:
    KsRefCounter() = default;
    KsRefCounter(const KsRefCounter&) : refCount_(0) {}
    KsRefCounter& operator=(const KsRefCounter&) { return *this; }
    virtual ~KsRefCounter() = default;

    void AddRef() const { ++refCount_; }
    void ReleaseRef() const {
        if (--refCount_ == 0) delete this;
    }
    int32_t RefCount() const { return refCount_; }

private:
    mutable int32_t refCount_ = 0;
};

// The intrusive holder of a KsRefCounter object: one pointer; copying adds a reference, releasing
// drops one and destroys the object with its last holder.
template <typename T>
class KsRef {
public:
    KsRef() = default;
    KsRef(std::nullptr_t) {}  // NOLINT
    explicit KsRef(T* object) : object_(object) {
        if (object_) object_->AddRef();
    }
    KsRef(const KsRef& other) : object_(other.object_) {
        if (object_) object_->AddRef();
    }
    KsRef(KsRef&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    template <typename U>
    KsRef(const KsRef<U>& other) : object_(other.Get()) {  // NOLINT: upcast
        if (object_) object_->AddRef();
    }
    ~KsRef() { Reset(); }

    KsRef& operator=(const KsRef& other) {
        KsRef(other).Swap(*this);
        return *this;
    }
    KsRef& operator=(KsRef&& other) noexcept {
        KsRef(std::move(other)).Swap(*this);
        return *this;
    }
    KsRef& operator=(std::nullptr_t) {
        Reset();
        return *this;
    }

    void Reset() {
        if (object_) {
            T* old = object_;
            object_ = nullptr;
            old->ReleaseRef();
        }
    }
    void Swap(KsRef& other) noexcept { std::swap(object_, other.object_); }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    bool IsNull() const { return object_ == nullptr; }
    bool operator==(const KsRef& other) const { return object_ == other.object_; }
    bool operator!=(const KsRef& other) const { return object_ != other.object_; }

private:
    T* object_ = nullptr;
};

// Creates a shared object and hands back its first holder.
template <typename T, typename... Args>
KsRef<T> MakeRef(Args&&... args) {
    return KsRef<T>(new T(std::forward<Args>(args)...));
}
