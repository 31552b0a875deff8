#pragma once
// Where /LOG= sends what Setup does: a line a step, written as it happens, so
// that a log read after a crash still shows how far Setup got.
#include <string>

#include "Win32Result.h"

namespace setup {

class Log {
public:
    virtual ~Log() = default;
    virtual winkit::Win32Result Write(const std::wstring& line) = 0;
};

// Without /LOG=: nothing to write, nothing that fails.
class NoLog final : public Log {
public:
    winkit::Win32Result Write(const std::wstring&) override { return {}; }
};

// Writes lines until the first write fails and keeps that failure: a log
// that lost a line is not to be taken for a complete record.
class StepLog {
public:
    explicit StepLog(Log& log) : m_log(log) {}
    void Line(const std::wstring& text) {
        if (m_failure.Ok()) m_failure = m_log.Write(text);
    }
    const winkit::Win32Result& Failure() const { return m_failure; }

private:
    Log& m_log;
    winkit::Win32Result m_failure;
};

}  // namespace setup
