// Work away from the interface thread: threads are used again, a place that waits holds up only its own
// work, results come back to the window that asked, and nothing comes back to a mailbox that is gone.

#include "WinTestSupport.h"
#include "components/Background.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
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

TEST(BackgroundTest, IdleThreadsAreUsedAgainHoweverWorkIsSharedOut) {
    // (That busy threads hold up no new work, the slow-share test shows end to end.)
    background::StandingThreads threads;
    std::mutex mutex;
    std::set<DWORD> seen;
    // Two at once, as a click and a key: a thread back from the first may take the second before the
    // idle thread it was handed to wakes. Each round starts with every thread idle, so two are enough.
    for (int round = 0; round < 40; ++round) {
        std::atomic<int> done{0};
        for (int i = 0; i < 2; ++i)
            threads.Run([&] {
                std::lock_guard lock(mutex);
                seen.insert(GetCurrentThreadId());
                ++done;
            });
        ASSERT_TRUE(PumpUntil([&] { return done == 2; }, 5s));
        ASSERT_TRUE(PumpUntil(
            [&] {
                const auto census = threads.Count();
                return census.idle == census.threads;
            },
            5s))
            << "round " << round;
    }
    EXPECT_LE(seen.size(), 2u);
}

TEST(BackgroundTest, AnIdleThreadInAnApartmentAnswersWhatIsSentToItsWindows) {
    background::StandingThreads threads(background::ThreadCom::Apartment);
    // A window of the thread, as COM gives each apartment one, that a broadcast would reach.
    std::atomic<HWND> window = nullptr;
    threads.Run([&] {
        window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    });
    ASSERT_TRUE(PumpUntil([&] { return window && threads.Count().idle == 1; }, 5s));
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000, &answer), 0);
    std::atomic<bool> gone = false;
    threads.Run([&] { gone = base::UniqueHelperWindow(window.load()).get() != nullptr; });
    EXPECT_TRUE(PumpUntil([&] { return gone.load(); }, 5s));
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
    // A queue that refuses the wake-up, as a full one does: it is posted again until it goes through.
    const wintest::MessageWatch wakes2(window, [](UINT message, WPARAM, LPARAM) { return message == kArrived; });
    std::atomic<int> refusals{3};
    mailbox->SetPoster([&](HWND to, UINT message) { return refusals-- <= 0 && PostMessageW(to, message, 0, 0); });
    EXPECT_TRUE(sender.Put(3));
    EXPECT_TRUE(wintest::PumpUntil([&] { return wakes2.Count() == 1; }, std::chrono::seconds(10)));
    EXPECT_EQ(mailbox->Take(), std::vector<int>{3});
    // A window that is gone takes none: a window opened afterwards is woken for what waits.
    const HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    mailbox->Open(gone, kArrived);
    EXPECT_TRUE(sender.Put(4));
    EXPECT_TRUE(wintest::PumpUntil([&] {
        mailbox->Open(window, kArrived);
        return wakes2.Count() == 2;
    }, std::chrono::seconds(10)));
    EXPECT_EQ(mailbox->Take(), std::vector<int>{4});
    mailbox.reset();
    EXPECT_FALSE(sender.Put(5));
    DestroyWindow(window);
}
