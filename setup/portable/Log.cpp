#include "Log.h"

#include "SetupTexts.h"
#include "Text.h"

namespace setup {

std::optional<std::wstring> RefuseLogPath(const std::wstring& given, const std::wstring& fullPath) {
    using winkit::IsPathSeparator;
    const bool onDrive = winkit::StartsWithDriveRoot(given);
    // "\\server\share\...": a server's name between the two separators and the next one.
    // operator[] at size() is the terminating NUL, so short texts need no test of their own.
    const bool twoSeparators = IsPathSeparator(given[0]) && IsPathSeparator(given[1]);
    const std::size_t afterServer = twoSeparators ? given.find_first_of(L"\\/", 2) : std::wstring::npos;
    const bool onShare = afterServer != std::wstring::npos && afterServer > 2;
    if (!onDrive && !onShare) return Format(TextId::LogNotFullPath, {given});
    // GetFullPathNameW turns a device name such as "CON" into "\\.\CON".
    const bool device = fullPath.rfind(L"\\\\.\\", 0) == 0 || fullPath.rfind(L"\\\\?\\", 0) == 0;
    if (device || given.find(L':', onDrive ? 2 : 0) != std::wstring::npos) return Format(TextId::LogDevice, {given});
    return std::nullopt;
}

std::optional<std::wstring> RefuseLogFile(const std::wstring& fullPath, const LogFileFacts& facts) {
    if (!facts.disk) return Format(TextId::LogNotOnDisk, {fullPath});
    if (facts.link) return Format(TextId::LogLink, {fullPath});
    if (facts.names > 1) return Format(TextId::LogHardLink, {fullPath});
    if (!facts.finalPathIsGiven) return Format(TextId::LogElsewhere, {fullPath, facts.finalPath});
    return std::nullopt;
}

std::wstring LogRefusedText(const std::wstring& why) { return Format(TextId::LogRefused, {why}); }

std::wstring LogOpenFailureText(const winkit::Win32Result& failure, const winkit::ReasonText& reason) {
    return Format(TextId::LogNotOpened, {failure.operation, reason(failure.code)});
}

}  // namespace setup
