// Linked into each program (not the tests). libstdc++'s own versions of these
// build std::string messages and pull in the demangler (docs/performance.md
// has the figure), which a GUI program which shows its own failure messages never needs.
#include <cstdlib>
#include <exception>
#include <new>

#if defined(__GLIBCXX__)

namespace {

// Out-of-range, length and similar logic errors cannot be caused by input in
// these programs; treat them like a failed allocation, which every handler
// already turns into a message.
[[noreturn]] void ThrowFailure() { throw std::bad_alloc(); }

}  // namespace

namespace std {
void __throw_bad_cast() { ThrowFailure(); }
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_typeid() { ThrowFailure(); }
void __throw_logic_error(const char*) { ThrowFailure(); }
void __throw_range_error(const char*) { ThrowFailure(); }
void __throw_domain_error(const char*) { ThrowFailure(); }
void __throw_length_error(const char*) { ThrowFailure(); }
void __throw_out_of_range(const char*) { ThrowFailure(); }
void __throw_bad_exception() { ThrowFailure(); }
void __throw_runtime_error(const char*) { ThrowFailure(); }
void __throw_overflow_error(const char*) { ThrowFailure(); }
void __throw_underflow_error(const char*) { ThrowFailure(); }
void __throw_invalid_argument(const char*) { ThrowFailure(); }
void __throw_out_of_range_fmt(const char*, ...) { ThrowFailure(); }
void __throw_bad_array_new_length() { ThrowFailure(); }
}  // namespace std

namespace __gnu_cxx {
// The default handler demangles the exception's type name for stderr, which a
// GUI program does not have.
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

#endif
