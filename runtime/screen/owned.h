// Owning wrappers for what the screen library holds: COM interfaces (released once) and
// modules loaded by name (freed once).
#pragma once

#include "runtime/screen/win32.h"

template <typename Interface>
class com_ptr {
public:
    constexpr com_ptr() = default;
    ~com_ptr() { reset(); }
    com_ptr(com_ptr&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
    com_ptr& operator=(com_ptr&& other) noexcept {
        if (this != &other) {
            reset(other.pointer_);
            other.pointer_ = nullptr;
        }
        return *this;
    }

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For out parameters: whatever was held is released first.
    Interface** put() {
        reset();
        return &pointer_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    // Takes over a reference the caller was handed.
    void reset(Interface* pointer = nullptr) {
        if (pointer_) pointer_->Release();
        pointer_ = pointer;
    }

private:
    Interface* pointer_ = nullptr;
};

class unique_module {
public:
    constexpr unique_module() = default;
    explicit unique_module(HMODULE module) : module_(module) {}
    ~unique_module() { reset(); }
    unique_module(const unique_module&) = delete;
    unique_module& operator=(const unique_module&) = delete;

    HMODULE get() const { return module_; }
    void reset(HMODULE module = nullptr) {
        if (module_) FreeLibrary(module_);
        module_ = module;
    }
    // An entry point by name, cast to the caller's function type; null when absent.
    template <typename Function>
    Function entry(const char* name) const {
        Function function;
        module_entry(module_, name, function);
        return function;
    }

private:
    HMODULE module_ = nullptr;
};
