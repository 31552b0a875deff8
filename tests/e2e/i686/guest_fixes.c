/* Preloaded into every 32-bit Wine process that runs under qemu-i386 (7.2),
 * through the private root's /etc/ld.so.preload, to make up for three faults of
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
 *  - The GDT is one table for all threads, where the kernel keeps the three
 *    TLS entries per thread. Wine's %fs (the TEB) and the C library's %gs
 *    point through such entries, and each new thread rewrites them with its
 *    own bases. A thread's cached bases stay right until it loads the
 *    register again, which qemu does on every return from a signal handler
 *    and Wine does on entering one and on every return through a full
 *    context (an APC, an exception continued): from then on the thread runs
 *    on the newest thread's TEB and talks to wineserver through that thread's
 *    pipes, so replies and wake-ups go to the wrong reader and the process
 *    hangs (a waited-for device I/O control, as in GetDriveTypeW, shows it
 *    first). The LDT is one table too, but its entries are numbered per
 *    thread, so each thread gets selectors of its own there: Wine is told
 *    that no GDT entry is free, and puts each thread's TEB in an LDT entry of
 *    its own; every thread's %gs moves to an LDT entry of its own as it
 *    starts. Creating a thread needs the GDT selector back for a moment (the
 *    C library takes the new thread's entry number from %gs), and a signal
 *    that comes in such a moment finds the GDT entries put right by the
 *    wrapper around Wine's handlers.
 *
 * Built with gcc -m32 -nostdlib: no headers, no C library at link time; the
 * few libc functions used are found at load time. The signal wrapper runs
 * before Wine has set up its thread registers, so it must not touch %gs (no
 * errno, no stack protector) except through a selector it has checked. */

typedef unsigned int size_t;
typedef long long off64_t;

extern void *dlsym(void *handle, const char *symbol);
extern int munmap(void *addr, size_t length);
extern int *__errno_location(void);
extern void *malloc(size_t size);
extern void free(void *block);

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

static int is_fault_signal(int sig)
{
    return sig == SIG_SEGV || sig == SIG_BUS || sig == SIG_ILL || sig == SIG_FPE || sig == SIG_TRAP;
}

/* struct user_desc of set_thread_area and get_thread_area. */
struct c_user_desc {
    unsigned int entry_number, base_addr, limit, flags;
};

#define SYS_GETPID 20
#define SYS_MODIFY_LDT 123
#define SYS_GETTID 224
#define SYS_SET_THREAD_AREA 243
#define SYS_GET_THREAD_AREA 244
#define SYS_TGKILL 270
#define GDT_TLS_FIRST 6
#define GDT_TLS_LAST 8
#define ESRCH_ERRNO 3
#define ENOSYS_ERRNO 38

/* Three arguments at most, straight to the kernel: no errno, nothing through %gs. */
static int raw_syscall(int number, int a, int b, int c)
{
    int result;
    __asm__ __volatile__("pushl %%ebx\n\tmovl %2,%%ebx\n\tint $0x80\n\tpopl %%ebx"
                         : "=a"(result) : "0"(number), "r"(a), "c"(b), "d"(c) : "memory");
    return result;
}

static int thread_area(int number, struct c_user_desc *desc)
{
    return raw_syscall(number, (int)desc, 0, 0);
}

struct thread_segment {
    int kept;
    struct c_user_desc desc;
};

/* A GDT TLS selector (table indicator 0, privilege 3) and the base it holds
 * for this thread, read through the segment itself. */
static void keep_segment(unsigned int selector, unsigned int base, struct thread_segment *segment)
{
    segment->desc.entry_number = selector >> 3;
    segment->kept = thread_area(SYS_GET_THREAD_AREA, &segment->desc) == 0;
    segment->desc.base_addr = base;
}

static void put_back(struct thread_segment *segment)
{
    if (segment->kept)
        thread_area(SYS_SET_THREAD_AREA, &segment->desc);
}

static int is_gdt_tls(unsigned int selector)
{
    return (selector & 7) == 3 && (selector >> 3) >= GDT_TLS_FIRST && (selector >> 3) <= GDT_TLS_LAST;
}

static void run_wine_handler(int sig, struct c_siginfo *info, void *context)
{
    struct thread_segment fs, gs;
    unsigned int selector, base;

    fs.kept = gs.kept = 0;
    __asm__ __volatile__("movl %%fs,%0" : "=r"(selector));
    if (is_gdt_tls(selector)) {
        __asm__ __volatile__("movl %%fs:0x18,%0" : "=r"(base));
        keep_segment(selector, base, &fs);
    }
    __asm__ __volatile__("movl %%gs,%0" : "=r"(selector));
    if (is_gdt_tls(selector)) {
        __asm__ __volatile__("movl %%gs:0,%0" : "=r"(base));
        keep_segment(selector, base, &gs);
    }
    if (is_fault_signal(sig)) {
        int *trapno = (int *)((char *)context + TRAPNO_OFFSET);
        if (*trapno == -1)
            *trapno = trap_number(sig, info->code);
    }
    put_back(&fs);
    put_back(&gs);
    wine_handlers[sig](sig, info, context);
    /* Other threads may have run in between (a suspended thread waits here). */
    put_back(&fs);
    put_back(&gs);
}

int sigaction(int sig, const struct c_sigaction *act, struct c_sigaction *old)
{
    typedef int (*sigaction_fn)(int, const struct c_sigaction *, struct c_sigaction *);
    static sigaction_fn next;
    struct c_sigaction wrapped;
    info_handler previous = sig > 0 && sig <= 64 ? wine_handlers[sig] : 0;
    int result;

    if (!next)
        next = (sigaction_fn)dlsym(NEXT_SYMBOL, "sigaction");
    if (act && sig > 0 && sig <= 64 && (act->flags & SIGINFO_FLAG) && (unsigned long)act->handler > 1) {
        wrapped = *act;
        wine_handlers[sig] = (info_handler)act->handler;
        wrapped.handler = (void *)run_wine_handler;
        act = &wrapped;
    }
    result = next(sig, act, old);
    /* Whoever asks sees the handler it installed, not the wrapper. */
    if (result == 0 && old && old->handler == (void *)run_wine_handler)
        old->handler = (void *)previous;
    return result;
}

/* Per-thread LDT entries for %gs. Wine takes 512 and up for its TEBs once it
 * sees %gs in the LDT at start, so 1 to 511 are left for these. An entry whose
 * thread has ended is taken again. */
#define OWN_LDT_FIRST 1
#define OWN_LDT_END 512
#define LDT_WRITE 0x11
#define DATA_32BIT_PAGES_USEABLE 0x51 /* seg_32bit, limit_in_pages, useable */

static volatile int ldt_owners[OWN_LDT_END];
static volatile int creating; /* held while a thread is made with the GDT selector */

static int is_own_ldt(unsigned int selector)
{
    return (selector & 7) == 7 && (selector >> 3) >= OWN_LDT_FIRST && (selector >> 3) < OWN_LDT_END;
}

static int thread_alive(int tid)
{
    return raw_syscall(SYS_TGKILL, raw_syscall(SYS_GETPID, 0, 0, 0), tid, 0) != -ESRCH_ERRNO;
}

static int claim_ldt_entry(void)
{
    int self = raw_syscall(SYS_GETTID, 0, 0, 0);
    for (int entry = OWN_LDT_FIRST; entry < OWN_LDT_END; ++entry) {
        int owner = ldt_owners[entry];
        if ((owner == 0 || (owner != self && !thread_alive(owner))) &&
            __sync_bool_compare_and_swap(&ldt_owners[entry], owner, self))
            return entry;
    }
    return 0;
}

/* Moves this thread's %gs, still on its GDT entry with the right base, to an
 * LDT entry of its own with the same base. */
static void own_gs(void)
{
    unsigned int selector, base;
    struct c_user_desc desc;
    int entry;

    __asm__ __volatile__("movl %%gs,%0" : "=r"(selector));
    if (!is_gdt_tls(selector) || !(entry = claim_ldt_entry()))
        return;
    __asm__ __volatile__("movl %%gs:0,%0" : "=r"(base));
    desc.entry_number = entry;
    desc.base_addr = base;
    desc.limit = 0xfffff;
    desc.flags = DATA_32BIT_PAGES_USEABLE;
    if (raw_syscall(SYS_MODIFY_LDT, LDT_WRITE, (int)&desc, sizeof desc) != 0) {
        ldt_owners[entry] = 0;
        return;
    }
    selector = (entry << 3) | 7;
    __asm__ __volatile__("movl %0,%%gs" : : "r"(selector));
}

__attribute__((constructor)) static void own_gs_of_the_first_thread(void)
{
    own_gs();
}

/* Wine asks for a free GDT entry (number -1) for its TEBs; refused, it uses
 * the LDT. Other calls pass. */
long syscall(long number, ...)
{
    typedef long (*syscall_fn)(long, long, long, long, long, long, long);
    static syscall_fn next;
    __builtin_va_list args;
    long a[6];

    __builtin_va_start(args, number);
    for (int i = 0; i < 6; ++i)
        a[i] = __builtin_va_arg(args, long);
    __builtin_va_end(args);
    if (number == SYS_SET_THREAD_AREA && a[0] && ((struct c_user_desc *)a[0])->entry_number == (unsigned int)-1) {
        *__errno_location() = ENOSYS_ERRNO;
        return -1;
    }
    if (!next)
        next = (syscall_fn)dlsym(NEXT_SYMBOL, "syscall");
    return next(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}

struct thread_start {
    void *(*start)(void *);
    void *arg;
};

static void *start_with_own_gs(void *block)
{
    struct thread_start start = *(struct thread_start *)block;
    free(block);
    own_gs();
    return start.start(start.arg);
}

typedef int (*pthread_create_fn)(void *, const void *, void *(*)(void *), void *);

int pthread_create(void *thread, const void *attr, void *(*start)(void *), void *arg)
{
    static pthread_create_fn next;
    struct thread_start *block;
    struct c_user_desc desc;
    const unsigned int gdt_selector = (GDT_TLS_FIRST << 3) | 3;
    unsigned int selector, base;
    int result;

    if (!next)
        next = (pthread_create_fn)dlsym(NEXT_SYMBOL, "pthread_create");
    block = malloc(sizeof *block);
    if (!block)
        return next(thread, attr, start, arg);
    block->start = start;
    block->arg = arg;
    __asm__ __volatile__("movl %%gs,%0" : "=r"(selector));
    if (!is_own_ldt(selector)) {
        result = next(thread, attr, start_with_own_gs, block);
        if (result != 0)
            free(block);
        return result;
    }

    while (__sync_lock_test_and_set(&creating, 1))
        __asm__ __volatile__("pause");
    __asm__ __volatile__("movl %%gs:0,%0" : "=r"(base));
    desc.entry_number = GDT_TLS_FIRST;
    if (thread_area(SYS_GET_THREAD_AREA, &desc) == 0) {
        desc.base_addr = base;
        thread_area(SYS_SET_THREAD_AREA, &desc);
        __asm__ __volatile__("movl %0,%%gs" : : "r"(gdt_selector));
    }
    result = next(thread, attr, start_with_own_gs, block);
    __asm__ __volatile__("movl %0,%%gs" : : "r"(selector));
    __sync_lock_release(&creating);
    if (result != 0)
        free(block);
    return result;
}
