// Scope guards: a variable rolled back to its old value, and a function run when a scope ends.
#pragma once

#include <exception>
#include <utility>

namespace korvex::base {

// Keeps a variable's value and puts it back when the scope ends, however it ends. The variable may be set
// for the scope at construction; nested scopes each restore what they found, so an inner scope never
// clears a flag an outer one set.
template <class T>
class ValueRollback {
public:
    explicit ValueRollback(T& variable)
        : FVariable(variable)
        , FOld(variable) { }
    ValueRollback(T& variable, T value)
        : FVariable(variable)
        , FOld(variable) {
        FVariable = std::move(value);
    }
    ~ValueRollback() { FVariable = std::move(FOld); }
    ValueRollback(const ValueRollback&) = delete;
    ValueRollback& operator=(const ValueRollback&) = delete;

    const T& OldValue() const { return FOld; }
    void SetOverride(T value) { FOld = std::move(value); }   // what the end of the scope restores instead

private:
    T& FVariable;
    T FOld;
};

// Runs a function when the scope ends, unless dismissed. When the scope ends normally an exception from the
// function passes on to the caller, as the same call written after the block would; while another exception
// unwinds the scope, the function's own exception is dropped and the first one goes on.
template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F function)
        : FFunction(std::move(function))
        , FExceptions(std::uncaught_exceptions()) { }
    ~ScopeExit() noexcept(false) {
        if (!FArmed) return;
        if (std::uncaught_exceptions() <= FExceptions) {
            FFunction();
            return;
        }
        try {
            FFunction();
        } catch (...) {
            // the exception already unwinding is the one the caller gets
        }
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

    void Dismiss() { FArmed = false; }   // the scope's work succeeded: nothing to undo

private:
    F FFunction;
    int FExceptions;
    bool FArmed = true;
};

}
