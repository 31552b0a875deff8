#include "Log.h"

#include "Join.h"
#include "Text.h"

namespace setup {

namespace {

constexpr wchar_t kNameAFile[] =
    L"\n\nPlease name a file in a folder that exists and that you may write to, for example "
    L"/LOG=C:\\Logs\\Tolvane.log";

}  // namespace

std::optional<std::wstring> RefuseLogPath(const std::wstring& given, const std::wstring& fullPath) {
    using winkit::Join;
    using winkit::IsPathSeparator;
    const bool onDrive = winkit::StartsWithDriveRoot(given);
    // "\\server\share\...": a server's name between the two separators and the next one.
    // operator[] at size() is the terminating NUL, so short texts need no test of their own.
    const bool twoSeparators = IsPathSeparator(given[0]) && IsPathSeparator(given[1]);
    const std::size_t afterServer = twoSeparators ? given.find_first_of(L"\\/", 2) : std::wstring::npos;
    const bool onShare = afterServer != std::wstring::npos && afterServer > 2;
    if (!onDrive && !onShare)
        return Join({L"The log \"", given, L"\" is not a full path: it would land in whatever folder Setup happens to "
                                           L"run in."});
    // GetFullPathNameW turns a device name such as "CON" into "\\.\CON".
    const bool device = fullPath.rfind(L"\\\\.\\", 0) == 0 || fullPath.rfind(L"\\\\?\\", 0) == 0;
    if (device || given.find(L':', onDrive ? 2 : 0) != std::wstring::npos)
        return Join({L"The log \"", given, L"\" names a device or a stream of a file, not a file."});
    return std::nullopt;
}

std::optional<std::wstring> RefuseLogFile(const std::wstring& fullPath, const LogFileFacts& facts) {
    using winkit::Join;
    if (!facts.disk)
        return Join({L"The log ", fullPath,
                     L" is not a file on a disk but a pipe or a device. Setup writes with administrator rights, and "
                     L"the program at the other end would learn them."});
    if (facts.link)
        return Join({L"The log ", fullPath,
                     L" is a link (a symbolic link or junction) to another place. Setup writes with administrator "
                     L"rights and would write wherever the link leads."});
    if (facts.names > 1)
        return Join({L"The log ", fullPath,
                     L" is one of several names of the same file (a hard link). Setup writes with administrator "
                     L"rights and would change that file under its other names too."});
    if (!facts.finalPathIsGiven)
        return Join({L"The log ", fullPath, L" leads to ", facts.finalPath,
                     L" (through a link or another name for a folder in its path)."});
    return std::nullopt;
}

std::wstring LogRefusedText(const std::wstring& why) {
    return winkit::Join({L"Setup will not write its log there, so it has changed nothing.\n\n", why, kNameAFile});
}

std::wstring LogOpenFailureText(const winkit::Win32Result& failure, const winkit::ReasonText& reason) {
    return winkit::Join({L"Setup cannot write its log, so it has changed nothing.\n\n", failure.operation,
                         L"\nReason: ", reason(failure.code), kNameAFile});
}

}  // namespace setup
