#pragma once
// A few GoogleTest-style macros for the test programs that run under Wine:
// GoogleTest itself needs std::mutex, which the win32 thread model of
// mingw-w64 does not have.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace minitest {

inline std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

struct State {
    int failures = 0;
    bool currentFailed = false;
};
inline State& GetState() {
    static State state;
    return state;
}

class Failure {
public:
    Failure(const char* file, int line, const char* what) { m_text << file << ":" << line << ": " << what; }
    ~Failure() {
        std::printf("  FAILED %s\n", m_text.str().c_str());
        GetState().currentFailed = true;
    }
    Failure(const Failure&) = delete;
    Failure& operator=(const Failure&) = delete;
    Failure& operator<<(const std::wstring& text) {
        m_text << " | " << Narrow(text);
        return *this;
    }
    Failure& operator<<(const wchar_t* text) { return *this << std::wstring(text); }
    template <typename T>
    Failure& operator<<(const T& value) {
        m_text << " | " << value;
        return *this;
    }

private:
    std::ostringstream m_text;
};

struct Fatal {
    void operator=(const Failure&) {}
};

struct TestCase {
    const char* name;
    void (*run)();
};
inline std::vector<TestCase>& Registry() {
    static std::vector<TestCase> tests;
    return tests;
}
struct Registrar {
    Registrar(const char* name, void (*run)()) { Registry().push_back({name, run}); }
};

inline int RunAll() {
    int passed = 0;
    int failed = 0;
    for (const auto& test : Registry()) {
        GetState().currentFailed = false;
        std::printf("[ RUN  ] %s\n", test.name);
        test.run();
        std::printf("[ %s ] %s\n", GetState().currentFailed ? "FAIL" : " OK ", test.name);
        (GetState().currentFailed ? failed : passed)++;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}

}  // namespace minitest

#define TEST(suite, name)                                                                  \
    static void suite##_##name();                                                          \
    static const minitest::Registrar suite##_##name##_registrar(#suite "." #name, &suite##_##name); \
    static void suite##_##name()

#define MINITEST_CHECK(condition, text) \
    if (condition) {                    \
    } else                              \
        minitest::Failure(__FILE__, __LINE__, text)
#define MINITEST_REQUIRE(condition, text) \
    if (condition) {                      \
    } else                                \
        return minitest::Fatal() = minitest::Failure(__FILE__, __LINE__, text)

#define EXPECT_TRUE(c) MINITEST_CHECK((c), #c)
#define EXPECT_FALSE(c) MINITEST_CHECK(!(c), "!(" #c ")")
#define EXPECT_EQ(a, b) MINITEST_CHECK((a) == (b), #a " == " #b)
#define EXPECT_NE(a, b) MINITEST_CHECK((a) != (b), #a " != " #b)
#define ASSERT_TRUE(c) MINITEST_REQUIRE((c), #c)
#define ASSERT_EQ(a, b) MINITEST_REQUIRE((a) == (b), #a " == " #b)
