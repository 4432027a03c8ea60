#include "components/Background.h"

#include "base/ComPtr.h"
#include "base/Exception.h"
#include "base/Handles.h"
#include "base/PathParts.h"

#include <process.h>

#include <chrono>
#include <climits>
#include <map>
#include <optional>

namespace background {

namespace {

// In the user's words, with the system's code, read before the message is made.
[[noreturn]] void FailToStart(DWORD error) {
    throw Exception(L"作業を始められません。", error);
}

struct Detached {
    std::function<void()> work;
    ThreadCom com;
};

unsigned __stdcall RunDetachedThread(void* parameter) {
    const std::unique_ptr<Detached> detached(static_cast<Detached*>(parameter));
    std::optional<base::ComApartment> apartment;
    if (detached->com == ThreadCom::Apartment) apartment.emplace();
    try {
        detached->work();
    } catch (...) {
        // Nobody is left to tell: the work's own result says what came of it.
    }
    return 0;
}

} // namespace

void RunDetached(std::function<void()> work, ThreadCom com) {
    // A thread of the system's own rather than a detached std::thread: under Wine, one of those started
    // just as another ended was seen never to run, leaving its work waiting for good.
    auto detached = std::make_unique<Detached>(Detached{std::move(work), com});
    // The work uses the C runtime, whose documentation asks for its own thread start.
    // https://learn.microsoft.com/cpp/c-runtime-library/reference/beginthread-beginthreadex
    _doserrno = 0;
    const base::UniqueHandle thread(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, RunDetachedThread, detached.get(), 0, nullptr)));
    // The system's code, when the failure was the system's; otherwise the runtime's own lack of memory.
    if (!thread) FailToStart(_doserrno != 0 ? static_cast<DWORD>(_doserrno) : DWORD{ERROR_NOT_ENOUGH_MEMORY});
    detached.release(); // the thread's now
}

struct StandingThreads::State {
    std::mutex mutex;
    // One count per wake-up given: for work handed to an idle thread, and one per thread at the end.
    base::UniqueHandle wake{CreateSemaphoreW(nullptr, 0, LONG_MAX, nullptr)};
    std::deque<std::function<void()>> waiting;
    int threads = 0;
    // Threads inside their wait. Each counts itself in and out, so the count is right however the
    // waiting work is shared out among threads that wake and threads that come back from work.
    int idle = 0;
    bool closed = false;
};

namespace {

void DispatchWaitingMessages() {
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
        // A quit asked of this thread belongs to no window; the thread ends by its own rule.
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        try {
            DispatchMessageW(&message);
        } catch (...) {
            // Nothing of ours has a window here; the wait goes on whatever a window procedure did.
        }
    }
}

// Waits until the condition holds or the time is up, counted idle meanwhile, and dispatches the thread's
// messages as they come: a thread in a single-threaded apartment must answer the messages broadcast to
// every top-level window (COM gives it one), or whoever sends them waits on it. While it dispatches it is
// not idle, so that work never waits behind a message. The lock is held on entry and on return.
template <typename Condition>
bool WaitPumping(std::unique_lock<std::mutex>& lock, int& idle, HANDLE wake, std::chrono::milliseconds limit,
                 Condition condition) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        ++idle;
        lock.unlock();
        const DWORD waited = MsgWaitForMultipleObjectsEx(1, &wake, static_cast<DWORD>(left.count()), QS_ALLINPUT,
                                                         MWMO_INPUTAVAILABLE);
        lock.lock();
        --idle;
        if (waited == WAIT_OBJECT_0 + 1 || waited == WAIT_FAILED) {
            lock.unlock();
            if (waited == WAIT_FAILED)
                Sleep(10); // not expected; a busy loop must not come of it
            else
                DispatchWaitingMessages();
            lock.lock();
        }
    }
    return true;
}

} // namespace

StandingThreads::StandingThreads(ThreadCom com) : state_(std::make_shared<State>()), com_(com) {
    if (!state_->wake) FailToStart(GetLastError());
}

StandingThreads::~StandingThreads() {
    std::deque<std::function<void()>> dropped;
    std::lock_guard lock(state_->mutex);
    state_->closed = true;
    dropped.swap(state_->waiting);
    if (state_->threads > 0) ReleaseSemaphore(state_->wake.get(), state_->threads, nullptr);
}

void StandingThreads::Run(std::function<void()> work) {
    {
        std::lock_guard lock(state_->mutex);
        // Enough idle threads for all that waits, this too: one of them takes it.
        if (state_->waiting.size() < static_cast<std::size_t>(state_->idle)) {
            state_->waiting.push_back(std::move(work));
            ReleaseSemaphore(state_->wake.get(), 1, nullptr);
            return;
        }
        ++state_->threads;
    }
    // A new thread, handed this work directly: if it cannot start, the work was never queued.
    auto serve = [state = state_, first = std::move(work)]() mutable {
        constexpr auto kIdleEnd = std::chrono::seconds(30);
        std::function<void()> next = std::move(first);
        std::unique_lock lock(state->mutex);
        for (;;) {
            if (next) {
                lock.unlock();
                try {
                    next();
                } catch (...) {
                    // As for RunDetached: the work reports its own outcome.
                }
                next = nullptr;
                lock.lock();
            }
            if (state->closed) break;
            if (!state->waiting.empty()) {
                next = std::move(state->waiting.front());
                state->waiting.pop_front();
                continue;
            }
            const bool woken = WaitPumping(lock, state->idle, state->wake.get(), kIdleEnd,
                                           [&] { return state->closed || !state->waiting.empty(); });
            if (woken || state->threads == 1) continue; // work, the end, or the standing one waits on
            break;
        }
        --state->threads;
    };
    try {
        RunDetached(std::move(serve), com_);
    } catch (...) {
        std::lock_guard lock(state_->mutex);
        --state_->threads;
        throw;
    }
}

StandingThreads::Census StandingThreads::Count() const {
    std::lock_guard lock(state_->mutex);
    return {state_->threads, state_->idle};
}

Tickets::Tickets(std::size_t slots) : latest_(std::make_shared<std::vector<std::atomic<unsigned>>>(slots)) {}

unsigned Tickets::Next(std::size_t slot) {
    return ++(*latest_)[slot];
}

unsigned Tickets::Current(std::size_t slot) const {
    return (*latest_)[slot].load();
}

bool Requests::Take(std::size_t slot, unsigned ticket) {
    if (!asked_.Latest(ticket, slot)) return false;
    answered_[slot] = ticket;
    return true;
}

bool Requests::Pending() const {
    for (std::size_t slot = 0; slot < answered_.size(); ++slot)
        if (!asked_.Latest(answered_[slot], slot)) return true;
    return false;
}

struct PlaceQueues::State {
    std::mutex mutex;
    // Work waiting per place; a place is listed while its thread runs.
    std::map<std::wstring, std::deque<std::function<void()>>> waiting;
};

PlaceQueues::PlaceQueues(ThreadCom com) : state_(std::make_shared<State>()), com_(com) {}

PlaceQueues::~PlaceQueues() {
    std::map<std::wstring, std::deque<std::function<void()>>> dropped;
    std::lock_guard lock(state_->mutex);
    // The threads find their queues empty and end; the places stay listed until they do.
    for (auto& [place, queue] : state_->waiting)
        dropped[place].swap(queue);
}

void PlaceQueues::Run(const std::wstring& path, std::function<void()> work) {
    const std::wstring place = PlaceOfPath(path);
    {
        std::lock_guard lock(state_->mutex);
        auto found = state_->waiting.find(place);
        if (found != state_->waiting.end()) {
            // Its thread is running and takes this in turn.
            found->second.push_back(std::move(work));
            return;
        }
        state_->waiting[place].push_back(std::move(work));
    }
    auto drain = [state = state_, place] {
        for (;;) {
            std::function<void()> next;
            {
                std::lock_guard lock(state->mutex);
                auto& queue = state->waiting[place];
                if (queue.empty()) {
                    state->waiting.erase(place);
                    return;
                }
                next = std::move(queue.front());
                queue.pop_front();
            }
            try {
                next();
            } catch (...) {
                // As for RunDetached: the work reports its own outcome.
            }
        }
    };
    try {
        RunDetached(std::move(drain), com_);
    } catch (...) {
        // No thread: the place must not stay listed as served, or its work would wait for ever.
        std::lock_guard lock(state_->mutex);
        state_->waiting.erase(place);
        throw;
    }
}

} // namespace background
