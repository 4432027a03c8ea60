#pragma once
// Work that touches files the user named, done away from the interface thread. A file on a network share
// that has gone can take minutes to answer each lookup; done on the interface thread, every window would
// freeze until it did.
//
// Nothing ever waits for this work: a program that quits while a thread still waits on a share ends all
// the same, and what the thread finds then is thrown away.

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace background {

// Whether the threads that run the work have COM, started once for each thread's life. The shell calls
// (starting a file, reading a shortcut, what opens a document) want it, apartment-threaded.
enum class ThreadCom { None, Apartment };

// Runs work on a thread of its own, which ends with it. Throws when no thread can be started.
void RunDetached(std::function<void()> work, ThreadCom com = ThreadCom::None);

// Threads that wait for work, so that starting one is not part of the work's time: work goes to a
// thread that is idle, or to a new one when all are busy (one may wait on a share for minutes). The
// first thread made stays; the others end after a while without work.
class StandingThreads {
public:
    explicit StandingThreads(ThreadCom com = ThreadCom::None);
    // Work not yet begun is dropped; the threads end once their work under way is done.
    ~StandingThreads();
    StandingThreads(const StandingThreads&) = delete;
    StandingThreads& operator=(const StandingThreads&) = delete;

    // Throws when a thread is needed and cannot be started; the work is then not kept.
    void Run(std::function<void()> work);
    // The threads there are now, and how many of them wait for work.
    struct Census {
        int threads;
        int idle;
    };
    Census Count() const;

private:
    struct State;
    std::shared_ptr<State> state_;
    ThreadCom com_;
};

// One thread per place (a drive or a share, as PlaceOfPath names it), started when work comes and ended
// when there is none left: work for one place runs in the order given, and a place that does not answer
// holds up only its own work.
class PlaceQueues {
public:
    explicit PlaceQueues(ThreadCom com = ThreadCom::None);
    // Work not yet begun is dropped; work under way runs to its end on its thread.
    ~PlaceQueues();
    PlaceQueues(const PlaceQueues&) = delete;
    PlaceQueues& operator=(const PlaceQueues&) = delete;

    // Runs work on the thread of the place of path.
    void Run(const std::wstring& path, std::function<void()> work);

private:
    struct State;
    std::shared_ptr<State> state_;
    ThreadCom com_;
};

// Numbers the requests of a few slots (a button's icon, a field of a dialog): a new request replaces the
// older ones of its slot. A worker asks before it touches a file whether its request is still the
// latest, so that one replaced while it waited behind a share does not cost another whole wait; the
// window drops the answer of one replaced since. Copies share the numbers, so workers may hold one.
class Tickets {
public:
    explicit Tickets(std::size_t slots = 1);
    // A new request of the slot; every request asked before it is out of date from now on.
    unsigned Next(std::size_t slot = 0);
    bool Latest(unsigned ticket, std::size_t slot = 0) const { return Current(slot) == ticket; }
    unsigned Current(std::size_t slot = 0) const;

private:
    std::shared_ptr<std::vector<std::atomic<unsigned>>> latest_;
};

// The window's side of Tickets: which request of each slot has been answered, so that it knows whether
// any is still on its way. Used on the window's thread; a worker holds a copy of Shared().
class Requests {
public:
    explicit Requests(std::size_t slots) : asked_(slots), answered_(slots, 0) {}
    // A new request of the slot, for a worker to answer.
    unsigned Ask(std::size_t slot) { return asked_.Next(slot); }
    // Nothing is on its way for the slot (none is needed, or no worker took it): earlier answers are out
    // of date.
    void CancelAnswers(std::size_t slot) { answered_[slot] = asked_.Next(slot); }
    // True, and the slot answered, when the ticket is the slot's latest; an older answer is to be dropped.
    bool Take(std::size_t slot, unsigned ticket);
    bool Pending() const;
    const Tickets& Shared() const { return asked_; }

private:
    Tickets asked_;
    std::vector<unsigned> answered_;
};

// How a mailbox posts its wake-up: PostMessageW. Tests put a queue that refuses posts in its place.
using WakePoster = std::function<bool(HWND window, UINT message)>;

// Where background work leaves its results for the window that asked for it. A worker's Sender puts a
// result in and wakes the window with a posted message, once until the window takes what is there; the
// window takes the results on its own thread. A wake-up that a full queue refuses is tried again, from a
// thread of its own, until it goes through or the mailbox is gone (it lives as long as its window's form).
// Once the mailbox is gone, results are dropped (and freed) on the worker's thread.
template <class Result> class Mailbox {
    struct State {
        std::mutex mutex;
        std::vector<Result> results;
        HWND window = nullptr;
        UINT message = 0;
        bool open = false;
        // A wake-up is on its way for what is here.
        bool posted = false;
        WakePoster poster = [](HWND window, UINT message) { return PostMessageW(window, message, 0, 0) != FALSE; };
    };

    static bool Post(const std::shared_ptr<State>& state, HWND window, UINT message) {
        WakePoster poster;
        {
            std::lock_guard lock(state->mutex);
            poster = state->poster;
        }
        return poster(window, message);
    }

    static void Wake(const std::shared_ptr<State>& state, HWND window, UINT message) {
        if (Post(state, window, message)) return;
        const auto givenUp = [state] {
            std::lock_guard lock(state->mutex);
            state->posted = false; // the next Put, or Open, tries anew
        };
        try {
            RunDetached([state, givenUp] {
                constexpr DWORD kRetryMs = 100;
                for (;;) {
                    Sleep(kRetryMs);
                    HWND to = nullptr;
                    UINT what = 0;
                    {
                        std::lock_guard lock(state->mutex);
                        if (!state->open) return givenUp();
                        // The window it is open for now, which Open may have changed meanwhile.
                        to = state->window;
                        what = state->message;
                    }
                    if (Post(state, to, what)) return;
                }
            });
        } catch (...) {
            givenUp();
        }
    }

public:
    class Sender {
    public:
        // False when the mailbox is gone or not open: the result is then dropped.
        bool Put(Result result) const {
            HWND window = nullptr;
            UINT message = 0;
            {
                std::lock_guard lock(state_->mutex);
                if (!state_->open) return false;
                state_->results.push_back(std::move(result));
                // One wake-up for everything put before the window takes it.
                if (!state_->posted) {
                    state_->posted = true;
                    window = state_->window;
                    message = state_->message;
                }
            }
            if (window) Wake(state_, window, message);
            return true;
        }

    private:
        friend class Mailbox;
        explicit Sender(std::shared_ptr<State> state) : state_(std::move(state)) {}
        std::shared_ptr<State> state_;
    };

    Mailbox() : state_(std::make_shared<State>()) {}
    ~Mailbox() {
        std::vector<Result> dropped;
        std::lock_guard lock(state_->mutex);
        state_->open = false;
        dropped.swap(state_->results);
    }
    Mailbox(const Mailbox&) = delete;
    Mailbox& operator=(const Mailbox&) = delete;

    // Results from now on wake window with message.
    void Open(HWND window, UINT message) {
        bool wake = false;
        {
            std::lock_guard lock(state_->mutex);
            state_->window = window;
            state_->message = message;
            state_->open = true;
            wake = !state_->results.empty() && !state_->posted;
            state_->posted = state_->posted || wake;
        }
        if (wake) Wake(state_, window, message);
    }
    Sender MakeSender() const { return Sender(state_); }
    void SetPoster(WakePoster poster) {
        std::lock_guard lock(state_->mutex);
        state_->poster = std::move(poster);
    }
    // Everything put since the last call, oldest first.
    std::vector<Result> Take() {
        std::vector<Result> taken;
        std::lock_guard lock(state_->mutex);
        taken.swap(state_->results);
        state_->posted = false;
        return taken;
    }

private:
    std::shared_ptr<State> state_;
};

} // namespace background
