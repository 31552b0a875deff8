#include "LogFile.h"

#include <windows.h>

#include <vector>

#include "Error.h"
#include "SetupTexts.h"
#include "Win32Paths.h"

namespace setup {

std::wstring LogFile::Open(const std::wstring& path, const winkit::ReasonText& reason) {
    const std::wstring full = FullPathOf(path);
    if (const auto refused = RefuseLogPath(path, full)) return LogRefusedText(*refused);
    m_path = full;
    // The link itself is opened, never followed; a file Setup creates may be
    // removed again when it is refused. A pipe's server may only identify
    // Setup, never act as it (without SECURITY_SQOS_PRESENT it could
    // impersonate the elevated token).
    const DWORD access = FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
    const DWORD flags =
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION;
    m_file.Reset(CreateFileW(full.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING, flags, nullptr));
    bool created = false;
    if (!m_file && GetLastError() == ERROR_FILE_NOT_FOUND) {
        m_file.Reset(CreateFileW(full.c_str(), access | DELETE, FILE_SHARE_READ, nullptr, CREATE_NEW, flags, nullptr));
        created = static_cast<bool>(m_file);
    }
    if (!m_file) return LogOpenFailureText(winkit::LastError(Format(TextId::LogOpenOperation, {path})), reason);

    LogFileFacts facts;
    facts.disk = GetFileType(m_file.Get()) == FILE_TYPE_DISK;
    winkit::Win32Result final;
    if (facts.disk) {
        DWORD attributes = 0;
        IsNameLink(m_file.Get(), &attributes);
        facts.link = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileInformationByHandle(m_file.Get(), &info)) facts.names = info.nNumberOfLinks;
        final = FinalPathOf(m_file.Get(), &facts.finalPath);
        facts.finalPathIsGiven = final.Ok() && SamePathText(facts.finalPath, LongPathOf(full));
    }
    const auto refused = final.Ok() ? RefuseLogFile(full, facts) : std::nullopt;
    if (final.Ok() && !refused) return L"";
    if (created) MarkForDeletion(m_file.Get(), full);
    m_file.Reset();
    return refused ? LogRefusedText(*refused) : LogOpenFailureText(final, reason);
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
    std::vector<char> bytes(static_cast<std::size_t>(size));
    WideCharToMultiByte(CP_UTF8, 0, full.data(), static_cast<int>(full.size()), bytes.data(), size, nullptr,
                        nullptr);
    DWORD written = 0;
    if (!WriteFile(m_file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return winkit::LastError(Format(TextId::LogWriteOperation, {m_path}));
    // A short write without an error: the disk filled up under it.
    if (written != bytes.size())
        return winkit::Win32Result::Failure(ERROR_DISK_FULL, Format(TextId::LogWriteOperation, {m_path}));
    return {};
}

}  // namespace setup
