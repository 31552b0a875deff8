// SuspendedThread: a second thread suspends and resumes the main thread while
// it runs, which makes wineserver signal it (SIGUSR1), and the main thread
// checks after each round that it still runs on its own TEB, whose thread id
// GetCurrentThreadId reads. Under qemu-i386 a thread came back from that
// signal on the newest thread's TEB (tests/e2e/README.md). Exit code 0 and
// "own TEB" when it holds.
#include <windows.h>

#include <cstdio>

namespace {

constexpr int kRounds = 20;

volatile LONG g_round = 0;

DWORD WINAPI Suspender(void* mainThread)
{
    const HANDLE main = static_cast<HANDLE>(mainThread);
    for (int round = 1; round <= kRounds; ++round) {
        Sleep(5);
        if (SuspendThread(main) == static_cast<DWORD>(-1)) return 1;
        ResumeThread(main);
        InterlockedExchange(&g_round, round);
    }
    return 0;
}

}  // namespace

int wmain()
{
    HANDLE main = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &main,
                         THREAD_SUSPEND_RESUME, FALSE, 0))
        return 2;
    const DWORD own = GetCurrentThreadId();
    HANDLE suspender = CreateThread(nullptr, 0, &Suspender, main, 0, nullptr);
    if (suspender == nullptr) return 2;
    // Spins without a system call, so each suspension has to interrupt it.
    LONG seen = 0;
    while (seen < kRounds) {
        const LONG round = g_round;
        if (round == seen) continue;
        seen = round;
        if (GetCurrentThreadId() != own) {
            std::printf("after suspension %ld: the TEB of thread %lu, not its own %lu\n", seen, GetCurrentThreadId(),
                        own);
            return 1;
        }
    }
    WaitForSingleObject(suspender, INFINITE);
    std::printf("own TEB after %d suspensions\n", kRounds);
    return 0;
}
