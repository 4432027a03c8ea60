// Work away from the interface thread: threads are used again, a place that waits holds up only its own
// work, results come back to the window that asked, and nothing comes back to a mailbox that is gone.

#include "WinTestSupport.h"
#include "components/Background.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <set>

using namespace std::chrono_literals;
using wintest::PumpUntil;

namespace {

// Work that waits until the test lets it go, as a lookup on a share that does not answer would.
class Gate {
public:
    Gate() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Gate() { Open(); }
    void Wait() const { WaitForSingleObject(event_.get(), 10000); }
    void Open() const { SetEvent(event_.get()); }

private:
    base::UniqueHandle event_;
};

} // namespace

TEST(BackgroundTest, AnIdleThreadIsUsedAgain) {
    // (That busy threads hold up no new work, the slow-share test shows end to end.)
    background::StandingThreads threads;
    std::set<DWORD> seen;
    // Once a thread is idle, work goes to it rather than to a new thread: a thread seen before.
    EXPECT_TRUE(PumpUntil(
        [&] {
            const auto id = std::make_shared<std::atomic<DWORD>>(0);
            threads.Run([id] { *id = GetCurrentThreadId(); });
            return PumpUntil([&] { return *id != 0; }, 5s) && !seen.insert(*id).second;
        },
        5s));
}

TEST(BackgroundTest, APlaceThatWaitsHoldsUpOnlyItsOwnWorkInItsOrder) {
    background::PlaceQueues places;
    Gate gate;
    std::atomic<int> share{0}, local{0};
    places.Run(L"\\\\server\\share\\a.exe", [&] {
        gate.Wait();
        share = share * 10 + 1;
    });
    places.Run(L"\\\\SERVER\\Share\\b.exe", [&] { share = share * 10 + 2; });
    places.Run(L"C:\\tools\\c.exe", [&] { local = 1; });
    EXPECT_TRUE(PumpUntil([&] { return local == 1; }, 5s));
    EXPECT_EQ(share.load(), 0);
    gate.Open();
    EXPECT_TRUE(PumpUntil([&] { return share == 12; }, 5s));
}

TEST(BackgroundTest, ResultsWakeTheWindowOnceAndAGoneMailboxTakesNothing) {
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    constexpr UINT kArrived = WM_APP + 7;
    auto mailbox = std::make_unique<background::Mailbox<int>>();
    mailbox->Open(window, kArrived);
    const auto sender = mailbox->MakeSender();
    EXPECT_TRUE(sender.Put(1));
    EXPECT_TRUE(sender.Put(2));
    MSG msg{};
    int wakes = 0;
    while (PeekMessageW(&msg, window, kArrived, kArrived, PM_REMOVE))
        ++wakes;
    EXPECT_EQ(wakes, 1);
    EXPECT_EQ(mailbox->Take(), (std::vector<int>{1, 2}));
    mailbox.reset();
    EXPECT_FALSE(sender.Put(3));
    DestroyWindow(window);
}
