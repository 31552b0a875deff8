#include "LogFile.h"

#include <windows.h>

#include "Error.h"

namespace setup {

winkit::Win32Result LogFile::Open(const std::wstring& path) {
    m_path = path;
    m_file.Reset(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file) return winkit::LastError(L"Could not open the log " + path);
    return {};
}

winkit::Win32Result LogFile::Write(const std::wstring& line) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t stamp[32] = {};
    wsprintfW(stamp, L"%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
              now.wSecond);
    const std::wstring full = stamp + line + L"\r\n";
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, full.data(), static_cast<int>(full.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, full.data(), static_cast<int>(full.size()), bytes.data(), size, nullptr,
                        nullptr);
    DWORD written = 0;
    if (!WriteFile(m_file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return winkit::LastError(L"Could not write to the log " + m_path);
    // A short write without an error: the disk filled up under it.
    if (written != bytes.size())
        return winkit::Win32Result::Failure(ERROR_DISK_FULL, L"Could not write to the log " + m_path);
    return {};
}

}  // namespace setup
