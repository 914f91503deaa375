#pragma once
// Runs an action when a scope ends, however it ends; the one guard every
// unit uses instead of a guard class of its own. The action must not throw
// (it may run while an exception unwinds).

#include <utility>

namespace orlo {

template <class Action> class TScopeGuard {
public:
    explicit TScopeGuard(Action Fn) : FAction(std::move(Fn)) {}
    ~TScopeGuard() {
        if (FArmed)
            FAction();
    }
    TScopeGuard(const TScopeGuard&) = delete;
    TScopeGuard& operator=(const TScopeGuard&) = delete;

    // The action will not run.
    void Disarm() noexcept { FArmed = false; }

private:
    Action FAction;
    bool FArmed = true;
};

// Counts Counter up until the scope ends: auto Running = CountForScope(Depth);
template <class T> [[nodiscard]] auto CountForScope(T& Counter) {
    ++Counter;
    return TScopeGuard([&Counter]() noexcept { --Counter; });
}

// Gives a variable a value until the scope ends, then its old value back.
template <class T> class TSetForScope {
public:
    TSetForScope(T& Var, T Value) : FVar(Var), FOld(std::exchange(Var, std::move(Value))) {}
    ~TSetForScope() { FVar = std::move(FOld); }
    TSetForScope(const TSetForScope&) = delete;
    TSetForScope& operator=(const TSetForScope&) = delete;

private:
    T& FVar;
    T FOld;
};

} // namespace orlo
