#pragma once

// Waiting for the user without holding the thread. A box's answer is a Reply: on a desktop the
// box runs its own event loop and the Reply is ready when the call returns, as are the replies
// of the recording surface; in a page the browser must get its thread back while the box is
// open, so the Reply comes later and whoever waits for it is suspended until then. Code that
// waits is a coroutine (a function returning Reply or Command that uses co_await); it reads the
// same either way, and on a desktop it runs straight through as a plain call would.

#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

#if __has_include(<coroutine>)
#include <coroutine>
#else
// The page's compiler still has coroutines under their first, experimental name.
#include <experimental/coroutine>
namespace std {
using std::experimental::coroutine_handle;
using std::experimental::suspend_never;
} // namespace std
#endif

namespace brzdomat {

namespace detail {

struct Nothing { };
template <typename T> using Stored = std::conditional_t<std::is_void_v<T>, Nothing, T>;

template <typename T> struct ReturnValue {
    std::optional<Stored<T>> Value;
    void return_value(T value) { Value.emplace(std::move(value)); }
};
template <> struct ReturnValue<void> {
    std::optional<Nothing> Value;
    void return_void() { Value.emplace(); }
};

} // namespace detail

// A value that is there now or comes later; co_await gives it, or throws what the coroutine
// that makes it threw. It starts at once, so what it shows is shown before the caller goes on.
// One dropped before it is ready lets its work run to the end and forgets the outcome.
template <typename T = void> class [[nodiscard]] Reply {
public:
    struct promise_type : detail::ReturnValue<T> {
        std::exception_ptr Failure;
        std::coroutine_handle<> Waiter;
        bool Dropped = false;

        Reply get_return_object()
        {
            return Reply { std::coroutine_handle<promise_type>::from_promise(*this) };
        }
        std::suspend_never initial_suspend() noexcept { return {}; }
        auto final_suspend() noexcept
        {
            struct Resume {
                bool await_ready() noexcept { return false; }
                // The waiter is resumed from here, not by a tail call, which the page's code
                // may not make; it may destroy this frame, which is suspended already.
                void await_suspend(std::coroutine_handle<promise_type> done) noexcept
                {
                    promise_type& promise = done.promise();
                    if (promise.Waiter)
                        promise.Waiter.resume();
                    else if (promise.Dropped)
                        done.destroy();
                }
                void await_resume() noexcept { }
            };
            return Resume {};
        }
        void unhandled_exception() { Failure = std::current_exception(); }
    };

    // A value there now: what a box that has closed gave.
    Reply(detail::Stored<T> value)
        : m_Value(std::move(value))
    {
    }

    Reply(Reply&& other) noexcept
        : m_Coroutine(std::exchange(other.m_Coroutine, {}))
        , m_Value(std::move(other.m_Value))
    {
    }
    Reply& operator=(Reply&&) = delete;
    ~Reply()
    {
        if (!m_Coroutine)
            return;
        if (m_Coroutine.done())
            m_Coroutine.destroy();
        else
            m_Coroutine.promise().Dropped = true;
    }

    bool Ready() const { return !m_Coroutine || m_Coroutine.done(); }
    // The value of a Ready reply, as co_await gives it.
    T Get() { return Take(); }

    bool await_ready() const { return Ready(); }
    void await_suspend(std::coroutine_handle<> waiter) { m_Coroutine.promise().Waiter = waiter; }
    T await_resume() { return Take(); }

private:
    explicit Reply(std::coroutine_handle<promise_type> coroutine)
        : m_Coroutine(coroutine)
    {
    }

    T Take()
    {
        if (!Ready())
            std::terminate();
        std::optional<detail::Stored<T>>* value = &m_Value;
        if (m_Coroutine) {
            promise_type& promise = m_Coroutine.promise();
            if (promise.Failure)
                std::rethrow_exception(promise.Failure);
            value = &promise.Value;
        }
        if constexpr (!std::is_void_v<T>)
            return std::move(**value);
    }

    std::coroutine_handle<promise_type> m_Coroutine;
    std::optional<detail::Stored<T>> m_Value;
};

// Waits for work that tells its end through a callback. start(then) begins it and returns true
// when then() will be called once it has ended, or false when it ended at once.
template <typename Start> auto AfterCallback(Start start)
{
    struct Awaiter {
        Start Begin;
        bool await_ready() { return false; }
        bool await_suspend(std::coroutine_handle<> waiter)
        {
            return Begin([waiter]() mutable { waiter.resume(); });
        }
        void await_resume() { }
    };
    return Awaiter { std::move(start) };
}

} // namespace brzdomat
