#include "Win32Files.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "Error.h"
#include "Handles.h"
#include "SecurityDescriptor.h"

namespace setup {

namespace {

std::wstring ResolvedPath(const std::wstring& path) {
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
    const winkit::UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file && GetFileInformationByHandle(file.Get(), info) != FALSE;
}

// The security descriptor of an SDDL text; false when Windows refuses the text.
bool DescriptorFrom(const std::wstring& sddl, winkit::UniqueSecurityDescriptor* descriptor) {
    return ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, descriptor->Put(),
                                                                nullptr) != FALSE;
}

// FILE_FLAG_OPEN_REPARSE_POINT: a link is opened itself, never the place it
// points to, so a junction planted in the folder cannot redirect the change.
winkit::UniqueFile OpenForSecurity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION* info) {
    winkit::UniqueFile file(CreateFileW(path.c_str(), READ_CONTROL | WRITE_DAC | WRITE_OWNER,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (file && !GetFileInformationByHandle(file.Get(), info)) file.Reset();
    return file;
}

winkit::Win32Result SetOwnerAndDacl(HANDLE file, const std::wstring& sddl, const std::wstring& path) {
    winkit::UniqueSecurityDescriptor descriptor;
    if (!DescriptorFrom(sddl, &descriptor) ||
        !SetKernelObjectSecurity(file, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, descriptor.Get()))
        return winkit::LastError(L"Could not change the permissions of " + path);
    return {};
}

// Every entry below the folder gets what it would inherit from it; links are
// changed themselves but not entered.
winkit::Win32Result ProtectEntries(const std::wstring& folder) {
    WIN32_FIND_DATAW data{};
    const winkit::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) return {};
    winkit::Win32Result result;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        BY_HANDLE_FILE_INFORMATION info{};
        const winkit::UniqueFile entry = OpenForSecurity(path, &info);
        if (!entry) {
            result = winkit::LastError(L"Could not open " + path);
            break;
        }
        const bool realFolder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                                (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
        result = SetOwnerAndDacl(entry.Get(), setup::ToSddl(setup::InheritedFromProtectedFolder(realFolder)), path);
        if (result.Ok() && realFolder) result = ProtectEntries(path);
    } while (result.Ok() && FindNextFileW(find.Get(), &data));
    return result;
}

}  // namespace

std::wstring Win32Files::FullPath(const std::wstring& path) { return ResolvedPath(path); }

DriveKind Win32Files::KindOfDrive(const std::wstring& fullPath) {
    if (fullPath.size() < 3 || fullPath[1] != L':') return DriveKind::Unknown;
    const UINT type = GetDriveTypeW(fullPath.substr(0, 3).c_str());
    return type <= DRIVE_RAMDISK ? static_cast<DriveKind>(type) : DriveKind::Unknown;
}

bool Win32Files::IsLink(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

winkit::Win32Result Win32Files::ReadSecurity(const std::wstring& path, std::wstring* sddl) {
    const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    winkit::UniqueSecurityDescriptor descriptor;
    const DWORD error = GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, wanted, nullptr, nullptr, nullptr,
                                              nullptr, descriptor.Put());
    if (error != ERROR_SUCCESS)
        return winkit::Win32Result::Failure(static_cast<long>(error), L"Could not read the permissions of " + path);
    winkit::UniqueLocal<wchar_t> text;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.Get(), SDDL_REVISION_1, wanted, text.Put(),
                                                              nullptr))
        return winkit::LastError(L"Could not read " + path);
    *sddl = text.Get();
    return {};
}

winkit::Win32Result Win32Files::Protect(const std::wstring& path, const std::wstring& sddl) {
    BY_HANDLE_FILE_INFORMATION info{};
    const winkit::UniqueFile folder = OpenForSecurity(path, &info);
    if (!folder) return winkit::LastError(L"Could not open " + path);
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return winkit::Win32Result::Failure(ERROR_DIRECTORY, L"Not a folder: " + path);
    const winkit::Win32Result result = SetOwnerAndDacl(folder.Get(), sddl, path);
    return result.Ok() ? ProtectEntries(path) : result;
}

std::wstring Win32Files::FirstMatch(const std::wstring& pattern) {
    if (pattern.empty()) return std::wstring();
    WIN32_FIND_DATAW data{};
    const winkit::UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
    if (!find) return std::wstring();
    std::wstring name;
    do {
        const std::wstring entry = data.cFileName;
        if (entry == L"." || entry == L"..") continue;
        if ((data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) continue;
        name = entry;
        break;
    } while (FindNextFileW(find.Get(), &data));
    return name;
}

winkit::Win32Result Win32Files::CreateFolder(const std::wstring& path, const std::wstring& sddl) {
    winkit::UniqueSecurityDescriptor descriptor;
    if (!DescriptorFrom(sddl, &descriptor)) return winkit::LastError(L"Could not create the folder " + path);
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.Get(), FALSE};
    if (CreateDirectoryW(path.c_str(), &attributes)) return {};
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
    const std::wstring fullA = ResolvedPath(a);
    const std::wstring fullB = ResolvedPath(b);
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
