#pragma once
// Where /LOG= sends what Setup does: a line a step, written as it happens, so
// that a log read after a crash still shows how far Setup got.
#include <cstdint>
#include <optional>
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

// Setup writes its log with administrator rights, so a log that another
// user prepared could make it write elsewhere: what the one open handle of
// the file shows about it.
struct LogFileFacts {
    bool link = false;          // a symbolic link or another reparse point itself
    std::uint32_t names = 1;    // hard links
    std::wstring finalPath;     // where the handle leads, as "X:\..." or "\\server\..."
    bool finalPathIsGiven = true;  // the same path as given, letter case aside
    // What GetFileType calls a disk file: not a pipe ("\\server\pipe\x" passes
    // as a share's file), whose server could impersonate Setup, nor a device.
    bool disk = true;
};

// Why the /LOG= text cannot name the log, before anything is opened: only a
// full path of a file on a drive or a share can.
std::optional<std::wstring> RefuseLogPath(const std::wstring& given, const std::wstring& fullPath);
// Why the opened file is not to be written.
std::optional<std::wstring> RefuseLogFile(const std::wstring& fullPath, const LogFileFacts& facts);
// The message for a log Setup will not write, and for one Windows did not open.
std::wstring LogRefusedText(const std::wstring& why);
std::wstring LogOpenFailureText(const winkit::Win32Result& failure, const winkit::ReasonText& reason);

}  // namespace setup
