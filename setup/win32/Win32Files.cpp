#include "Win32Files.h"

#include <windows.h>

#include "Error.h"
#include "Handles.h"

namespace setup {

namespace {

std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    full.resize(length);
    return full;
}

bool FileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION* info) {
    // FILE_READ_ATTRIBUTES with every share mode: a running Tolvane.exe or this
    // Setup.exe itself can still be opened this far.
    winkit::UniqueKernelHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        return false;
    }
    return GetFileInformationByHandle(file.Get(), info) != FALSE;
}

}  // namespace

std::wstring Win32Files::FirstMatch(const std::wstring& pattern) {
    if (pattern.empty()) return std::wstring();
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return std::wstring();
    std::wstring name;
    do {
        const std::wstring entry = data.cFileName;
        if (entry == L"." || entry == L"..") continue;
        if ((data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) continue;
        name = entry;
        break;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return name;
}

winkit::Win32Result Win32Files::CreateFolder(const std::wstring& path) {
    if (CreateDirectoryW(path.c_str(), nullptr)) return {};
    return winkit::LastError(L"Could not create the folder " + path);
}

bool Win32Files::IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Files::IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Files::SameFile(const std::wstring& a, const std::wstring& b) {
    const std::wstring fullA = FullPath(a);
    const std::wstring fullB = FullPath(b);
    if (CompareStringOrdinal(fullA.c_str(), static_cast<int>(fullA.size()), fullB.c_str(),
                             static_cast<int>(fullB.size()), TRUE) == CSTR_EQUAL)
        return true;
    // Short names, another drive letter for the same folder, links.
    BY_HANDLE_FILE_INFORMATION infoA{};
    BY_HANDLE_FILE_INFORMATION infoB{};
    if (!FileIdentity(fullA, &infoA) || !FileIdentity(fullB, &infoB)) return false;
    return infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
           infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
}

winkit::Win32Result Win32Files::CopyReplacing(const std::wstring& from, const std::wstring& to) {
    if (CopyFileW(from.c_str(), to.c_str(), FALSE)) return {};
    return winkit::LastError(L"Could not copy " + from + L" to " + to);
}

}  // namespace setup
