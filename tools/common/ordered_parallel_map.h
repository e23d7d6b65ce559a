#pragma once

// Applies a function to the items 0 .. count - 1 on worker threads and hands the results to a
// consumer on the calling thread, in the items' order, as each one's turn comes. At most window
// items are under way at a time, taken by a worker and not yet consumed, so that what the results
// hold stays bounded however slow the consumer is. It does not balance, cancel or time anything.
//
// The first failure stops the workers and is thrown on: what the function throws at its item's
// turn, after the items before it were consumed, or what the consumer throws.

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace brzdomat {

template <typename Function, typename Consumer>
void OrderedParallelMap(
    int count, unsigned workers, int window, const Function& function, const Consumer& consume)
{
    using Result = std::invoke_result_t<const Function&, int>;
    if (count <= 0)
        return;
    window = std::max(window, 1);
    workers = std::clamp(workers, 1u, static_cast<unsigned>(std::min(count, window)));

    // Item i waits in slot i % window: an item is taken only once the one window places before
    // it is consumed, so no two items under way share a slot.
    struct Slot {
        std::optional<Result> Value;
        std::exception_ptr Failure;
        bool Ready = false;
    };
    std::vector<Slot> slots(static_cast<std::size_t>(window));
    std::mutex mutex;
    std::condition_variable changed;
    int next = 0;
    int consumed = 0;
    bool stopped = false;

    const auto work = [&] {
        for (;;) {
            int index = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(
                    lock, [&] { return stopped || next >= count || next < consumed + window; });
                if (stopped || next >= count)
                    return;
                index = next++;
            }
            std::optional<Result> value;
            std::exception_ptr failure;
            try {
                value.emplace(function(index));
            } catch (...) {
                failure = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex);
                Slot& slot = slots[static_cast<std::size_t>(index % window)];
                slot.Value = std::move(value);
                slot.Failure = failure;
                slot.Ready = true;
            }
            changed.notify_all();
        }
    };

    std::vector<std::jthread> threads;
    const auto stop = [&] {
        {
            const std::lock_guard lock(mutex);
            stopped = true;
        }
        changed.notify_all();
        threads.clear();
    };
    try {
        for (unsigned started = 0; started < workers; ++started)
            threads.emplace_back(work);
        for (int index = 0; index < count; ++index) {
            Slot taken;
            {
                std::unique_lock lock(mutex);
                Slot& slot = slots[static_cast<std::size_t>(index % window)];
                changed.wait(lock, [&] { return slot.Ready; });
                taken = std::move(slot);
                slot = {};
            }
            if (taken.Failure)
                std::rethrow_exception(taken.Failure);
            consume(index, std::move(*taken.Value));
            taken.Value.reset();
            {
                const std::lock_guard lock(mutex);
                consumed = index + 1;
            }
            changed.notify_all();
        }
    } catch (...) {
        stop();
        throw;
    }
    stop();
}

} // namespace brzdomat
