#pragma once

#include <functional>
#include <type_traits>
#include <utility>

namespace KX {

// A non-owning reference to a callable, passed to every operation that calls back. Wrappers are
// built on the caller's stack, so nothing is allocated per call.
template <typename Signature>
class CallableRef;

template <typename R, typename... Args>
class CallableRef<R(Args...)> {
public:
    virtual R operator()(Args... args) const = 0;
    virtual ~CallableRef() = default;
};

namespace CallableRefDetails {

template <typename Callable, typename Signature>
class CallableWrapper;

template <typename Callable, typename R, typename... Args>
class CallableWrapper<Callable, R(Args...)> final : public CallableRef<R(Args...)> {
public:
    explicit CallableWrapper(Callable callable) : _callable(std::move(callable)) {}
    R operator()(Args... args) const override { return std::invoke(_callable, std::forward<Args>(args)...); }

private:
    Callable _callable;
};

} // namespace CallableRefDetails

// An lvalue callable is referenced (it must outlive the call); a temporary one is held by value.
template <typename Signature, typename F>
auto makeCallableRef(F&& callable) {
    if constexpr (std::is_lvalue_reference_v<F>)
        return CallableRefDetails::CallableWrapper<std::reference_wrapper<std::remove_reference_t<F>>, Signature>(
            std::ref(callable));
    else
        return CallableRefDetails::CallableWrapper<std::decay_t<F>, Signature>(std::forward<F>(callable));
}

} // namespace KX
