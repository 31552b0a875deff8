#pragma once
#include <string>

#include "Handles.h"
#include "Log.h"

namespace setup {

// The file of /LOG=, opened once before Setup does anything and kept open, so
// that every line goes to the file that was checked.
class LogFile final : public Log {
public:
    // Appends to the file, creating it when missing; "" when it is open,
    // otherwise the message why Setup will not write it.
    std::wstring Open(const std::wstring& path, const winkit::ReasonText& reason);
    // The line after the local time, in UTF-8.
    winkit::Win32Result Write(const std::wstring& line) override;

private:
    winkit::UniqueFile m_file;
    std::wstring m_path;
};

}  // namespace setup
