#pragma once
// Runs a function when the scope it guards ends, however it ends: the "finally" of a block. The function
// must not throw, since it may run while an exception unwinds.

#include <utility>

namespace base {

template <class Function> class ScopeExit {
public:
    explicit ScopeExit(Function function) : function_(std::move(function)) {}
    ~ScopeExit() { function_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Function function_;
};

} // namespace base
