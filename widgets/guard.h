#pragma once
// Slot bodies run through guarded() so that no exception ever reaches Qt's
// event loop: anything thrown is shown in the standard error box instead.

#include <concepts>
#include <exception>
#include <functional>
#include <utility>

namespace talvera::widgets {

namespace detail {
// Shows the exception through messages().error; never throws.
void reportException(std::exception_ptr error) noexcept;
} // namespace detail

// Runs f; returns false if it threw (the error was already shown).
template <class F>
bool guarded(F&& f) noexcept
{
    try {
        std::invoke(std::forward<F>(f));
        return true;
    } catch (...) {
        detail::reportException(std::current_exception());
        return false;
    }
}

// Wraps f for connect(): the slot receives the signal's arguments if f takes
// them, or none if f takes none, and runs guarded.
template <class F>
auto guardedSlot(F f)
{
    return [f = std::move(f)]<class... Args>(Args&&... args) mutable
        requires std::invocable<F&, Args...> || std::invocable<F&>
    {
        guarded([&] {
            if constexpr (std::invocable<F&, Args...>)
                std::invoke(f, std::forward<Args>(args)...);
            else
                std::invoke(f);
        });
    };
}

} // namespace talvera::widgets
