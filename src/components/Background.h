#pragma once
// Work that touches files the user named, done away from the interface thread. A file on a network share
// that has gone can take minutes to answer each lookup; done on the interface thread, every window would
// freeze until it did.
//
// Nothing ever waits for this work: a program that quits while a thread still waits on a share ends all
// the same, and what the thread finds then is thrown away.

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace background {

// Runs work on a thread of its own, which ends with it.
void RunDetached(std::function<void()> work);

// Threads that wait for work, so that starting one is not part of the work's time: work goes to a
// thread that is idle, or to a new one when all are busy (one may wait on a share for minutes). The
// first thread made stays; the others end after a while without work.
class StandingThreads {
public:
    StandingThreads();
    // Work not yet begun is dropped; the threads end once their work under way is done.
    ~StandingThreads();
    StandingThreads(const StandingThreads&) = delete;
    StandingThreads& operator=(const StandingThreads&) = delete;

    void Run(std::function<void()> work);

private:
    struct State;
    std::shared_ptr<State> state_;
};

// One thread per place (a drive or a share, as PlaceOfPath names it), started when work comes and ended
// when there is none left: work for one place runs in the order given, and a place that does not answer
// holds up only its own work.
class PlaceQueues {
public:
    PlaceQueues();
    // Work not yet begun is dropped; work under way runs to its end on its thread.
    ~PlaceQueues();
    PlaceQueues(const PlaceQueues&) = delete;
    PlaceQueues& operator=(const PlaceQueues&) = delete;

    // Runs work on the thread of the place of path.
    void Run(const std::wstring& path, std::function<void()> work);

private:
    struct State;
    std::shared_ptr<State> state_;
};

// Where background work leaves its results for the window that asked for it. A worker's Sender puts a
// result in and wakes the window with a posted message, once until the window takes what is there; the
// window takes the results on its own thread. Once the mailbox is gone, results are dropped (and freed)
// on the worker's thread.
template <class Result> class Mailbox {
    struct State {
        std::mutex mutex;
        std::vector<Result> results;
        HWND window = nullptr;
        UINT message = 0;
        bool open = false;
    };

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
                if (state_->results.size() == 1) {
                    window = state_->window;
                    message = state_->message;
                }
            }
            if (window) PostMessageW(window, message, 0, 0);
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
        std::lock_guard lock(state_->mutex);
        state_->window = window;
        state_->message = message;
        state_->open = true;
    }
    Sender MakeSender() const { return Sender(state_); }
    // Everything put since the last call, oldest first.
    std::vector<Result> Take() {
        std::vector<Result> taken;
        std::lock_guard lock(state_->mutex);
        taken.swap(state_->results);
        return taken;
    }

private:
    std::shared_ptr<State> state_;
};

} // namespace background
