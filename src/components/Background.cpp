#include "components/Background.h"

#include "base/PathParts.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <thread>

namespace background {

void RunDetached(std::function<void()> work) {
    std::thread([work = std::move(work)] {
        try {
            work();
        } catch (...) {
            // Nobody is left to tell: the work's own result says what came of it.
        }
    }).detach();
}

struct StandingThreads::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> waiting;
    int threads = 0;
    // Threads waiting for work and not yet promised any: Run promises one by counting it off here.
    int idle = 0;
    bool closed = false;
};

StandingThreads::StandingThreads() : state_(std::make_shared<State>()) {}

StandingThreads::~StandingThreads() {
    std::deque<std::function<void()>> dropped;
    std::lock_guard lock(state_->mutex);
    state_->closed = true;
    dropped.swap(state_->waiting);
    state_->wake.notify_all();
}

void StandingThreads::Run(std::function<void()> work) {
    {
        std::lock_guard lock(state_->mutex);
        state_->waiting.push_back(std::move(work));
        if (state_->idle > 0) {
            --state_->idle;
            state_->wake.notify_one();
            return;
        }
        ++state_->threads;
    }
    auto serve = [state = state_] {
        constexpr auto kIdleEnd = std::chrono::seconds(30);
        std::unique_lock lock(state->mutex);
        for (;;) {
            if (state->closed) break;
            if (!state->waiting.empty()) {
                std::function<void()> next = std::move(state->waiting.front());
                state->waiting.pop_front();
                lock.unlock();
                try {
                    next();
                } catch (...) {
                    // As for RunDetached: the work reports its own outcome.
                }
                next = nullptr;
                lock.lock();
                continue;
            }
            ++state->idle;
            const bool woken = state->wake.wait_for(lock, kIdleEnd,
                                                    [&] { return state->closed || !state->waiting.empty(); });
            // Woken for work, Run has already counted this thread off; otherwise it is still counted.
            if (woken && !state->closed) continue;
            --state->idle;
            if (!state->closed && state->threads == 1) continue; // the standing one
            break;
        }
        --state->threads;
    };
    try {
        RunDetached(std::move(serve));
    } catch (...) {
        std::lock_guard lock(state_->mutex);
        --state_->threads;
        throw;
    }
}

struct PlaceQueues::State {
    std::mutex mutex;
    // Work waiting per place; a place is listed while its thread runs.
    std::map<std::wstring, std::deque<std::function<void()>>> waiting;
};

PlaceQueues::PlaceQueues() : state_(std::make_shared<State>()) {}

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
        RunDetached(std::move(drain));
    } catch (...) {
        // No thread: the place must not stay listed as served, or its work would wait for ever.
        std::lock_guard lock(state_->mutex);
        state_->waiting.erase(place);
        throw;
    }
}

} // namespace background
