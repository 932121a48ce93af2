// VB's optional ByRef argument. A caller may pass its own variable, which the
// callee then reads and changes, or a plain value (or nothing), which the
// callee gets as a private copy. This keeps call sites like VB's:
//   oSubs->cvErrHandler(err, sErrArea, "", 0, iCode)   // iCode is changed
//   oSubs->cvErrHandler(err, sErrArea, "", 0, 0)       // a literal style
#pragma once

#include <type_traits>
#include <utility>

namespace vb {

template <typename T>
class ByRef {
public:
    // Omitted: the callee sees T{} (0 for numbers, "" for text).
    ByRef() = default;
    // The caller's variable, shared with the callee.
    ByRef(T& variable) : variable_(&variable) {}
    // A value: the callee works on its own copy.
    ByRef(T&& value) : copy_(std::move(value)) {}
    // Any other value that converts to T (a literal, a narrower number):
    // a copy, as VB passes an expression by value to a ByRef parameter.
    template <typename U>
        requires(std::is_constructible_v<T, U &&> && !std::is_same_v<std::remove_cvref_t<U>, T> &&
                 !std::is_same_v<std::remove_cvref_t<U>, ByRef>)
    ByRef(U&& value) : copy_(T(std::forward<U>(value))) {}

    // No self-pointer is kept, so copies of a by-value ByRef stay valid.
    T& get() { return variable_ ? *variable_ : copy_; }
    const T& get() const { return variable_ ? *variable_ : copy_; }
    // True when the caller passed its own variable.
    bool isShared() const { return variable_ != nullptr; }

private:
    T* variable_ = nullptr;
    T copy_{};
};

}  // namespace vb
