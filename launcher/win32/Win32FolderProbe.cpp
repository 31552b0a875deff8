#include "Win32FolderProbe.h"

namespace launcher {

std::wstring Win32FolderProbe::ExpandVariables(const std::wstring& text) {
    // The variables may change between the two calls; ask again with the new size.
    DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    for (int attempt = 0; attempt < 4 && size != 0; ++attempt) {
        std::wstring expanded(size, L'\0');
        const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size);
        if (needed == 0) break;
        if (needed <= size) {
            expanded.resize(needed - 1);
            return expanded;
        }
        size = needed;
    }
    return text;
}

bool Win32FolderProbe::IsNetworkDrive(wchar_t driveLetter) {
    const wchar_t root[] = {driveLetter, L':', L'\\', L'\0'};
    return GetDriveTypeW(root) == DRIVE_REMOTE;
}

FolderProbe::Found Win32FolderProbe::Examine(const std::wstring& path) {
    // A drive without a disc would otherwise ask to insert one.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const DWORD error = GetLastError();
    SetThreadErrorMode(previousMode, nullptr);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Found::Folder : Found::File;
    // Only what says "nothing there" counts; a folder the user may not look
    // into is the Explorer's to report.
    const bool nothing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                         error == ERROR_INVALID_NAME || error == ERROR_INVALID_DRIVE || error == ERROR_NOT_READY ||
                         error == ERROR_BAD_PATHNAME;
    return nothing ? Found::Nothing : Found::Unknown;
}

}  // namespace launcher
