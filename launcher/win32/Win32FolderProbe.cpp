#include "Win32FolderProbe.h"

#include <winnetwk.h>

#include "SystemFunction.h"
#include "Text.h"

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

bool Win32FolderProbe::IsConnected(const std::wstring& networkPath) {
    // mpr is loaded for Browse only: the resident launcher does not import it.
    // Both functions answer from the connections already made, without
    // asking the server.
    if (winkit::StartsWithDriveLetter(networkPath)) {
        static const auto getConnection =
            winkit::SystemFunction<decltype(&WNetGetConnectionW)>(L"mpr.dll", "WNetGetConnectionW");
        if (getConnection == nullptr) return false;
        const wchar_t drive[] = {networkPath[0], L':', L'\0'};
        wchar_t remote[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        const DWORD result = getConnection(drive, remote, &size);
        // A remembered drive whose connection is not made gives ERROR_CONNECTION_UNAVAIL.
        return result == NO_ERROR || result == ERROR_MORE_DATA;
    }
    static const auto getUser = winkit::SystemFunction<decltype(&WNetGetUserW)>(L"mpr.dll", "WNetGetUserW");
    if (getUser == nullptr) return false;
    // "\\server\share" of the path: WNetGetUserW says ERROR_NOT_CONNECTED without a connection to it.
    const std::size_t server = networkPath.find_first_of(L"\\/", 2);
    const std::size_t share = server == std::wstring::npos ? server : networkPath.find_first_of(L"\\/", server + 1);
    const std::wstring shareName = networkPath.substr(0, share);
    wchar_t user[256] = {};
    DWORD size = 256;
    const DWORD result = getUser(shareName.c_str(), user, &size);
    return result == NO_ERROR || result == ERROR_MORE_DATA;
}

}  // namespace launcher
