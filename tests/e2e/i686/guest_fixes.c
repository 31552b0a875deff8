/* Preloaded into every 32-bit Wine process that runs under qemu-i386 (7.2),
 * through the private root's /etc/ld.so.preload, to make up for two faults of
 * that qemu that Wine trips over all the time:
 *
 *  - MAP_FIXED_NOREPLACE is taken as a mere hint: the mapping lands somewhere
 *    else and the call succeeds. Wine reserves its address space by probing
 *    with that flag and, fooled, makes tens of thousands of mappings (about
 *    50 s per process). Failing with EEXIST, as the kernel does, ends that.
 *  - Signal frames carry trapno -1. Wine's own fault handling (page guards,
 *    first-touch stack growth, exceptions) reads the trap number, so every
 *    fault it should handle becomes a crash. The number is made up again from
 *    the signal and its si_code before Wine's handler sees the frame.
 *
 * Built with gcc -m32 -nostdlib: no headers, no C library at link time; the
 * few libc functions used are found at load time. The signal wrapper runs
 * before Wine has set up its thread registers, so it must not touch %gs (no
 * errno, no stack protector). */

typedef unsigned int size_t;
typedef long long off64_t;

extern void *dlsym(void *handle, const char *symbol);
extern int munmap(void *addr, size_t length);
extern int *__errno_location(void);

#define NEXT_SYMBOL ((void *)-1l) /* RTLD_NEXT */
#define FAILED ((void *)-1l)      /* MAP_FAILED */
#define FIXED_NOREPLACE 0x100000
#define EEXIST_ERRNO 17

typedef void *(*mmap64_fn)(void *, size_t, int, int, int, off64_t);
typedef void *(*mmap_fn)(void *, size_t, int, int, int, long);

static void *refuse_if_moved(void *wanted, void *got, size_t length, int flags)
{
    if (!(flags & FIXED_NOREPLACE) || !wanted || got == FAILED || got == wanted)
        return got;
    munmap(got, length);
    *__errno_location() = EEXIST_ERRNO;
    return FAILED;
}

void *mmap64(void *addr, size_t length, int prot, int flags, int fd, off64_t offset)
{
    static mmap64_fn next;
    if (!next)
        next = (mmap64_fn)dlsym(NEXT_SYMBOL, "mmap64");
    return refuse_if_moved(addr, next(addr, length, prot, flags, fd, offset), length, flags);
}

void *mmap(void *addr, size_t length, int prot, int flags, int fd, long offset)
{
    static mmap_fn next;
    if (!next)
        next = (mmap_fn)dlsym(NEXT_SYMBOL, "mmap");
    return refuse_if_moved(addr, next(addr, length, prot, flags, fd, offset), length, flags);
}

/* The i386 C library's struct sigaction and the start of siginfo_t. */
struct c_sigaction {
    void *handler;
    unsigned long mask[32];
    int flags;
    void (*restorer)(void);
};
struct c_siginfo {
    int signo, error, code;
};
typedef void (*info_handler)(int, struct c_siginfo *, void *);

#define SIGINFO_FLAG 4
#define SIG_ILL 4
#define SIG_TRAP 5
#define SIG_BUS 7
#define SIG_FPE 8
#define SIG_SEGV 11
/* ucontext_t: uc_flags, uc_link, uc_stack (3 words), then gregs[]; trapno is gregs[12]. */
#define TRAPNO_OFFSET (5 * 4 + 12 * 4)

static info_handler wine_handlers[65];

/* The x86 exception that makes the kernel send this signal with this code. */
static int trap_number(int sig, int code)
{
    switch (sig) {
    case SIG_SEGV: return (code == 1 || code == 2) ? 14 : 13; /* MAPERR/ACCERR: page fault, else protection */
    case SIG_BUS: return code == 1 ? 17 : 14;                 /* ADRALN: alignment check */
    case SIG_ILL: return 6;                                   /* invalid opcode */
    case SIG_FPE: return code == 1 ? 0 : code == 2 ? 4 : 16;  /* INTDIV, INTOVF, else x87 error */
    case SIG_TRAP: return code == 2 ? 1 : 3;                  /* TRACE: single step, else breakpoint */
    }
    return -1;
}

static void fill_in_trapno(int sig, struct c_siginfo *info, void *context)
{
    int *trapno = (int *)((char *)context + TRAPNO_OFFSET);
    if (*trapno == -1)
        *trapno = trap_number(sig, info->code);
    wine_handlers[sig](sig, info, context);
}

static int is_fault_signal(int sig)
{
    return sig == SIG_SEGV || sig == SIG_BUS || sig == SIG_ILL || sig == SIG_FPE || sig == SIG_TRAP;
}

int sigaction(int sig, const struct c_sigaction *act, struct c_sigaction *old)
{
    typedef int (*sigaction_fn)(int, const struct c_sigaction *, struct c_sigaction *);
    static sigaction_fn next;
    struct c_sigaction wrapped;
    info_handler previous = is_fault_signal(sig) ? wine_handlers[sig] : 0;
    int result;

    if (!next)
        next = (sigaction_fn)dlsym(NEXT_SYMBOL, "sigaction");
    if (act && is_fault_signal(sig) && (act->flags & SIGINFO_FLAG) && (unsigned long)act->handler > 1) {
        wrapped = *act;
        wine_handlers[sig] = (info_handler)act->handler;
        wrapped.handler = (void *)fill_in_trapno;
        act = &wrapped;
    }
    result = next(sig, act, old);
    /* Whoever asks sees the handler it installed, not the wrapper. */
    if (result == 0 && old && old->handler == (void *)fill_in_trapno)
        old->handler = (void *)previous;
    return result;
}
