#include "base/Win32Clock.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <thread>
#include <vector>

#include "base/Win32MessageQueue.h"
#include "winedrive/ProgramRun.h"

namespace quorvel {
namespace {

constexpr unsigned kPauseMs = 600;
constexpr DWORD kArrivesAfterMs = 150;
constexpr UINT kPosted = WM_APP + 1, kSent = WM_APP + 2;

// What the thread's window was handed while the clock paused.
std::vector<UINT> handled;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kPosted || message == kSent || message == WM_KEYDOWN ||
        message == WM_LBUTTONDOWN)
        handled.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Win32ClockTestWindow";
    RegisterClassA(&windowClass);
    return CreateWindowA("Win32ClockTestWindow", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                         nullptr, windowClass.hInstance, nullptr);
}

// The other thread only sleeps and posts, so the process's time is the pause's.
double CpuMs() { return winedrive::ProcessCpuMs(GetCurrentProcessId()); }

constexpr double kSpinningCpuMs = 100;

// The reader that judges the pauses below, and the program's waits in its own test, sees a
// thread that does spin: a reader stuck at 0 would pass them all. On a loaded machine the spin
// takes longer to get its CPU time.
TEST(Win32Clock, TheCpuReaderSeesASpinningThread) {
    const double before = CpuMs();
    double spun = 0;
    for (const ULONGLONG end = GetTickCount64() + 5000; GetTickCount64() < end;) {
        spun = CpuMs() - before;
        if (spun >= 2 * kSpinningCpuMs) break;
    }
    EXPECT_GE(spun, 2 * kSpinningCpuMs);
}

// A pause as the wizard takes it while the card works, with a window on the thread and a
// message arriving from another thread meanwhile. The pause lasts its whole time without
// spinning; what is posted or sent is handled at once, input never, and a quit is kept for
// the end of the card's work, then posted once.
TEST(Win32Clock, PauseKeepsTheWindowAliveDropsInputAndKeepsAQuit) {
    using Arrive = std::function<void(HWND window, DWORD thread)>;
    // clang-format off
    const struct {
        const char* name;
        Arrive arrive;               // on another thread, kArrivesAfterMs into the pause
        std::vector<UINT> handled;   // by the window, in order, during the pause
        bool quitKept;
    } cases[] = {
        {"a posted message is dispatched",
         [](HWND w, DWORD) { PostMessageA(w, kPosted, 0, 0); }, {kPosted}, false},
        {"a sent message is answered",
         [](HWND w, DWORD) { SendMessageA(w, kSent, 0, 0); }, {kSent}, false},
        {"a key and a click are dropped",
         [](HWND w, DWORD) {
             PostMessageA(w, WM_KEYDOWN, VK_RETURN, 0);
             PostMessageA(w, WM_LBUTTONDOWN, 0, 0);
         }, {}, false},
        {"a quit is kept and does not end the pause",
         [](HWND, DWORD t) { PostThreadMessageA(t, WM_QUIT, 7, 0); }, {}, true},
    };
    // clang-format on
    HWND window = MakeWindow();
    ASSERT_NE(window, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        handled.clear();
        Win32MessageQueue queue;
        Win32Clock clock(queue);
        const DWORD self = GetCurrentThreadId();
        std::thread other([&] {
            Sleep(kArrivesAfterMs);
            c.arrive(window, self);
        });
        const double cpuBefore = CpuMs();
        const ULONGLONG start = GetTickCount64();

        clock.SleepMilliseconds(kPauseMs);

        const ULONGLONG elapsed = GetTickCount64() - start;
        const double cpu = CpuMs() - cpuBefore;
        other.join();
        EXPECT_GE(elapsed, kPauseMs) << "the pause ended early";
        EXPECT_LT(elapsed, kPauseMs + 400u);
        EXPECT_LT(cpu, kSpinningCpuMs) << "the pause spun for " << cpu << " ms of CPU";
        EXPECT_EQ(handled, c.handled);
        EXPECT_EQ(queue.QuitKept(), c.quitKept);

        MSG left;
        EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_NOREMOVE)) << left.message;
        queue.PostKeptQuit();
        queue.PostKeptQuit();
        const bool quit = PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE);
        EXPECT_EQ(quit, c.quitKept);
        if (quit) {
            EXPECT_EQ(left.message, static_cast<UINT>(WM_QUIT));
            EXPECT_EQ(left.wParam, 7u);
        }
        EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE)) << "a quit posted twice";
    }
    DestroyWindow(window);
}

}  // namespace
}  // namespace quorvel
