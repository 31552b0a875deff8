// SuspendedThread: the main thread checks that it still runs on its own TEB,
// whose thread id GetCurrentThreadId reads, after each of the ways Wine puts a
// thread's segment registers back while another thread exists:
//  - a second thread suspends and resumes it while it runs, which makes
//    wineserver signal it (SIGUSR1);
//  - an APC to itself, and an exception its handler continues from, each
//    right after a new thread started: Wine returns from those through the
//    full context, which loads %fs and %gs again.
// Under qemu-i386 a thread came back on the newest thread's TEB
// (tests/e2e/README.md). Exit code 0 and "own TEB" when it holds.
#include <windows.h>

#include <cstdio>

namespace {

constexpr int kRounds = 20;
constexpr DWORD kContinuedException = 0xE0000001;

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

DWORD WINAPI Started(void* started)
{
    SetEvent(static_cast<HANDLE>(started));
    return 0;
}

void CALLBACK NothingToDo(ULONG_PTR) {}

LONG CALLBACK ContinueOwnException(EXCEPTION_POINTERS* info)
{
    return info->ExceptionRecord->ExceptionCode == kContinuedException ? EXCEPTION_CONTINUE_EXECUTION
                                                                       : EXCEPTION_CONTINUE_SEARCH;
}

bool SuspendedRounds(DWORD own)
{
    HANDLE main = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &main,
                         THREAD_SUSPEND_RESUME, FALSE, 0))
        return false;
    HANDLE suspender = CreateThread(nullptr, 0, &Suspender, main, 0, nullptr);
    if (suspender == nullptr) return false;
    // Spins without a system call, so each suspension has to interrupt it.
    LONG seen = 0;
    while (seen < kRounds) {
        const LONG round = g_round;
        if (round == seen) continue;
        seen = round;
        if (GetCurrentThreadId() != own) {
            std::printf("after suspension %ld: the TEB of thread %lu, not its own %lu\n", seen, GetCurrentThreadId(),
                        own);
            return false;
        }
    }
    WaitForSingleObject(suspender, INFINITE);
    return true;
}

// A new thread writes its own bases where qemu keeps the one copy for all.
bool AfterNewThread(DWORD own, const char* what, void (*act)())
{
    for (int round = 1; round <= kRounds; ++round) {
        HANDLE started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE thread = CreateThread(nullptr, 0, &Started, started, 0, nullptr);
        if (started == nullptr || thread == nullptr) return false;
        WaitForSingleObject(started, INFINITE);
        act();
        const DWORD now = GetCurrentThreadId();
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        CloseHandle(started);
        if (now != own) {
            std::printf("after %s %d: the TEB of thread %lu, not its own %lu\n", what, round, now, own);
            return false;
        }
    }
    return true;
}

}  // namespace

int wmain()
{
    const DWORD own = GetCurrentThreadId();
    if (!SuspendedRounds(own)) return 1;
    if (!AfterNewThread(own, "APC", [] {
            QueueUserAPC(&NothingToDo, GetCurrentThread(), 0);
            SleepEx(0, TRUE);
        }))
        return 1;
    AddVectoredExceptionHandler(1, &ContinueOwnException);
    if (!AfterNewThread(own, "exception", [] { RaiseException(kContinuedException, 0, 0, nullptr); })) return 1;
    std::printf("own TEB after %d suspensions, APCs and exceptions\n", kRounds);
    return 0;
}
