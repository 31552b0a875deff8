// Win32Files.h and Win32Paths.h in one translation unit: as two, the i686
// Setup's code grew by 180 bytes, one file-alignment step past its limit.
#include "Win32Files.h"
#include "Win32Paths.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <winternl.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "Decimal.h"
#include "Error.h"
#include "Process.h"
#include "SecurityDescriptor.h"
#include "ShippedFileHashes.h"

namespace setup {

namespace {

// Folders Setup decides about are opened as themselves, never followed to
// where a link leads; nobody may rename or delete one while it is held.
constexpr DWORD kFolderFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
constexpr DWORD kShareButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

// A link that redirects names (junction, symbolic link), as opposed to
// reparse points of other kinds such as cloud placeholders.
bool IsNameLink(HANDLE handle, DWORD* attributes) {
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &info, sizeof(info))) {
        *attributes = INVALID_FILE_ATTRIBUTES;
        return false;
    }
    *attributes = info.FileAttributes;
    return (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsReparseTagNameSurrogate(info.ReparseTag);
}

winkit::Win32Result MarkForDeletion(HANDLE handle, const std::wstring& path) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof(disposition)))
        return winkit::LastError(L"Could not remove " + path);
    return {};
}

std::wstring FullPathOf(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    full.resize(length);
    return full;
}

namespace {

// The security descriptor of an SDDL text; false when Windows refuses the text.
bool DescriptorFrom(const std::wstring& sddl, winkit::UniqueSecurityDescriptor* descriptor) {
    return ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, descriptor->Put(),
                                                                nullptr) != FALSE;
}

winkit::Win32Result SecurityOf(HANDLE handle, const std::wstring& path, std::wstring* sddl) {
    const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    winkit::UniqueSecurityDescriptor descriptor;
    const DWORD error =
        GetSecurityInfo(handle, SE_FILE_OBJECT, wanted, nullptr, nullptr, nullptr, nullptr, descriptor.Put());
    if (error != ERROR_SUCCESS)
        return winkit::Win32Result::Failure(static_cast<long>(error), L"Could not read the permissions of " + path);
    winkit::UniqueLocal<wchar_t> text;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.Get(), SDDL_REVISION_1, wanted, text.Put(),
                                                              nullptr))
        return winkit::LastError(L"Could not read the permissions of " + path);
    *sddl = text.Get();
    return {};
}

winkit::Win32Result ReadAll(HANDLE file, const std::wstring& path, Bytes* bytes, bool* tooLarge) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) return winkit::LastError(L"Could not read " + path);
    if (static_cast<std::uint64_t>(size.QuadPart) > kMaxSourceSize) {
        *tooLarge = true;
        return {};
    }
    bytes->assign(static_cast<std::size_t>(size.QuadPart), 0);
    std::size_t done = 0;
    while (done < bytes->size()) {
        DWORD read = 0;
        if (!ReadFile(file, bytes->data() + done, static_cast<DWORD>(bytes->size() - done), &read, nullptr))
            return winkit::LastError(L"Could not read " + path);
        if (read == 0) break;
        done += read;
    }
    bytes->resize(done);
    return {};
}

winkit::Win32Result WriteAll(HANDLE file, const Bytes& bytes, const std::wstring& path) {
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return winkit::LastError(L"Could not write " + path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
            written == 0)
            return winkit::LastError(L"Could not write " + path);
        done += written;
    }
    if (!SetEndOfFile(file)) return winkit::LastError(L"Could not write " + path);
    return {};
}

bool Identity(HANDLE handle, BY_HANDLE_FILE_INFORMATION* info) {
    return GetFileInformationByHandle(handle, info) != FALSE;
}

// ntdll's NtCreateFile opens a name relative to a folder handle: the file
// lands in the folder that was checked, whatever its path leads to by now.
using NtCreateFileFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                        ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using RtlNtStatusToDosErrorFn = ULONG(NTAPI*)(NTSTATUS);
using NtSetInformationFileFn = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, FILE_INFORMATION_CLASS);

class Win32HeldFolder final : public HeldFolder {
public:
    Win32HeldFolder(winkit::UniqueFile folder, std::wstring path) : m_folder(std::move(folder)), m_path(std::move(path)) {
        m_link = IsNameLink(m_folder.Get(), &m_attributes);
    }

    bool IsFolder() override {
        return m_attributes != INVALID_FILE_ATTRIBUTES && (m_attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    bool IsLink() override { return m_link; }
    winkit::Win32Result FinalPath(std::wstring* path) override { return FinalPathOf(m_folder.Get(), path); }
    winkit::Win32Result ReadSecurity(std::wstring* sddl) override { return SecurityOf(m_folder.Get(), m_path, sddl); }

    bool Is(const std::wstring& folderPath) override {
        const winkit::UniqueFile other(CreateFileW(folderPath.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        BY_HANDLE_FILE_INFORMATION mine{};
        BY_HANDLE_FILE_INFORMATION theirs{};
        return other && Identity(m_folder.Get(), &mine) && Identity(other.Get(), &theirs) &&
               mine.dwVolumeSerialNumber == theirs.dwVolumeSerialNumber &&
               mine.nFileIndexHigh == theirs.nFileIndexHigh && mine.nFileIndexLow == theirs.nFileIndexLow;
    }

    winkit::Win32Result Write(const std::wstring& name, const Bytes& bytes, std::optional<Bytes>* previous) override {
        const std::wstring path = m_path + L"\\" + name;
        bool existed = false;
        winkit::UniqueFile file;
        if (const winkit::Win32Result opened = OpenIn(name, FILE_OPEN_IF, &file, &existed); !opened.Ok())
            return opened;
        previous->reset();
        if (existed) {
            Bytes earlier;
            bool tooLarge = false;
            if (const winkit::Win32Result read = ReadAll(file.Get(), path, &earlier, &tooLarge); !read.Ok())
                return read;
            if (tooLarge) return winkit::Win32Result::Failure(ERROR_FILE_TOO_LARGE, L"Could not replace " + path);
            *previous = std::move(earlier);
            // A file written over keeps its owner and permissions, which an
            // earlier installation or anybody before may have set: a new file
            // gets the folder's inheritable ones and Setup's owner, and then
            // takes the old one's place. The old one is closed first, since an
            // open file cannot be replaced; the folder lets only administrators in.
            file.Reset();
            const std::wstring fresh = name + L".new-" + winkit::Decimal(GetCurrentProcessId());
            bool freshExisted = false;
            if (const winkit::Win32Result created = OpenIn(fresh, FILE_CREATE, &file, &freshExisted); !created.Ok())
                return created;
            const winkit::Win32Result written = WriteAll(file.Get(), bytes, path);
            const winkit::Win32Result moved = written.Ok() ? MoveInto(file.Get(), name, path) : written;
            if (!moved.Ok()) {
                MarkForDeletion(file.Get(), m_path + L"\\" + fresh);
                return moved;
            }
            m_files.emplace_back(name, std::move(file));
            return {};
        }
        const winkit::Win32Result written = WriteAll(file.Get(), bytes, path);
        if (!written.Ok()) {
            // Nothing left of a failed copy, so that it needs no undo of its own.
            MarkForDeletion(file.Get(), path);
            return written;
        }
        m_files.emplace_back(name, std::move(file));
        return {};
    }

    winkit::Win32Result Restore(const std::wstring& name, const std::optional<Bytes>& previous) override {
        const auto found = std::find_if(m_files.begin(), m_files.end(),
                                        [&name](const auto& held) { return held.first == name; });
        if (found == m_files.end())
            return winkit::Win32Result::Failure(ERROR_INVALID_HANDLE, L"Could not restore " + m_path + L"\\" + name);
        const std::wstring path = m_path + L"\\" + name;
        const winkit::Win32Result restored =
            previous ? WriteAll(found->second.Get(), *previous, path) : MarkForDeletion(found->second.Get(), path);
        // Closing the handle completes the deletion, before the folder itself may go.
        m_files.erase(found);
        return restored;
    }

    winkit::Win32Result Remove() override {
        const winkit::Win32Result marked = MarkForDeletion(m_folder.Get(), m_path);
        if (marked.Ok()) m_folder.Reset();
        return marked;
    }

private:
    // Renames the open file to name in the held folder, over the file there.
    // NtSetInformationFile, since kernelbase's SetFileInformationByHandle
    // makes a relative name a full path (Wine: below the current folder).
    winkit::Win32Result MoveInto(HANDLE file, const std::wstring& name, const std::wstring& path) {
        static const auto setInformation =
            winkit::LoadedFunction<NtSetInformationFileFn>(L"ntdll.dll", "NtSetInformationFile");
        static const auto toError =
            winkit::LoadedFunction<RtlNtStatusToDosErrorFn>(L"ntdll.dll", "RtlNtStatusToDosError");
        if (setInformation == nullptr || toError == nullptr)
            return winkit::Win32Result::Failure(ERROR_PROC_NOT_FOUND, L"Could not replace " + path);
        // FILE_RENAME_INFO has the layout of ntdll's FILE_RENAME_INFORMATION;
        // the names Setup writes are its own files' and their stand-ins'.
        union {
            FILE_RENAME_INFO info;
            BYTE bytes[sizeof(FILE_RENAME_INFO) + MAX_PATH * sizeof(wchar_t)];
        } buffer{};
        if (name.size() >= MAX_PATH)
            return winkit::Win32Result::Failure(ERROR_FILENAME_EXCED_RANGE, L"Could not replace " + path);
        FILE_RENAME_INFO* rename = &buffer.info;
        rename->ReplaceIfExists = TRUE;
        rename->RootDirectory = m_folder.Get();
        rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
        std::copy(name.begin(), name.end(), rename->FileName);
        IO_STATUS_BLOCK io{};
        constexpr int kFileRenameInformation = 10;
        const NTSTATUS status = setInformation(file, &io, rename, static_cast<ULONG>(sizeof buffer),
                                               static_cast<FILE_INFORMATION_CLASS>(kFileRenameInformation));
        if (status < 0)
            return winkit::Win32Result::Failure(static_cast<long>(toError(status)), L"Could not replace " + path);
        return {};
    }

    winkit::Win32Result OpenIn(const std::wstring& name, ULONG disposition, winkit::UniqueFile* file, bool* existed) {
        static const auto ntCreateFile = winkit::LoadedFunction<NtCreateFileFn>(L"ntdll.dll", "NtCreateFile");
        static const auto toError =
            winkit::LoadedFunction<RtlNtStatusToDosErrorFn>(L"ntdll.dll", "RtlNtStatusToDosError");
        const std::wstring path = m_path + L"\\" + name;
        if (ntCreateFile == nullptr || toError == nullptr)
            return winkit::Win32Result::Failure(ERROR_PROC_NOT_FOUND, L"Could not create " + path);
        std::wstring buffer = name;
        UNICODE_STRING relative{static_cast<USHORT>(buffer.size() * sizeof(wchar_t)),
                                static_cast<USHORT>(buffer.size() * sizeof(wchar_t)), buffer.data()};
        OBJECT_ATTRIBUTES attributes{};
        InitializeObjectAttributes(&attributes, &relative, OBJ_CASE_INSENSITIVE, m_folder.Get(), nullptr);
        IO_STATUS_BLOCK io{};
        HANDLE handle = nullptr;
        // No sharing: nobody else writes, renames or deletes it until Setup is done.
        const NTSTATUS status = ntCreateFile(
            &handle, GENERIC_READ | GENERIC_WRITE | DELETE | SYNCHRONIZE, &attributes, &io, nullptr,
            FILE_ATTRIBUTE_NORMAL, 0, disposition,
            FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT, nullptr, 0);
        if (status < 0)
            return winkit::Win32Result::Failure(static_cast<long>(toError(status)), L"Could not create " + path);
        file->Reset(handle);
        *existed = io.Information == FILE_OPENED;
        return {};
    }

    winkit::UniqueFile m_folder;
    std::wstring m_path;
    DWORD m_attributes = INVALID_FILE_ATTRIBUTES;
    bool m_link = false;
    // Held until the installation is complete or undone.
    std::vector<std::pair<std::wstring, winkit::UniqueFile>> m_files;
};

}  // namespace

bool SamePathText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

winkit::Win32Result FinalPathOf(HANDLE handle, std::wstring* path) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return winkit::LastError(L"Could not find where a path leads");
        if (length < buffer.size()) {
            buffer.resize(length);
            *path = WithoutLongPrefix(buffer);
            return {};
        }
        buffer.assign(length + 1, L'\0');
    }
}

Sources ShippedSources() { return {winkit::ProgramPath(), kLauncherSha256, kReadmeSha256, kGermanReadmeSha256}; }

OwnProgram OpenOwnProgram() {
    OwnProgram own;
    own.file.Reset(CreateFileW(winkit::ProgramPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!own.file) own.error = static_cast<long>(GetLastError());
    return own;
}

std::wstring Win32Files::FullPath(const std::wstring& path) { return FullPathOf(path); }

std::wstring Win32Files::LongPath(const std::wstring& fullPath) { return LongPathOf(fullPath); }

std::wstring LongPathOf(const std::wstring& fullPath) {
    // GetLongPathNameW needs the path to exist: the part that does is
    // expanded, the rest (the folder to create) kept as it is.
    std::wstring head = fullPath;
    std::wstring tail;
    while (head.size() > 3) {
        const DWORD needed = GetLongPathNameW(head.c_str(), nullptr, 0);
        if (needed != 0) {
            std::wstring expanded(needed, L'\0');
            const DWORD length = GetLongPathNameW(head.c_str(), expanded.data(), needed);
            if (length != 0 && length < needed) {
                expanded.resize(length);
                return expanded + tail;
            }
        }
        const std::size_t slash = head.find_last_of(L'\\');
        if (slash == std::wstring::npos || slash < 3) break;
        tail = head.substr(slash) + tail;
        head.resize(slash);
    }
    return fullPath;
}

DriveKind Win32Files::KindOfDrive(const std::wstring& fullPath) {
    if (fullPath.size() < 3 || fullPath[1] != L':') return DriveKind::Unknown;
    const UINT type = GetDriveTypeW(fullPath.substr(0, 3).c_str());
    return type <= DRIVE_RAMDISK ? static_cast<DriveKind>(type) : DriveKind::Unknown;
}

winkit::Win32Result Win32Files::KeepsPermissions(const std::wstring& root, bool* keeps) {
    DWORD flags = 0;
    if (!GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0))
        return winkit::LastError(L"Could not ask drive " + root + L" about its file system");
    *keeps = (flags & FILE_PERSISTENT_ACLS) != 0;
    return {};
}

std::wstring Win32Files::WindowsDriveRoot() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH);
    return length >= 3 && length < MAX_PATH ? std::wstring(folder, 3) : std::wstring();
}

bool Win32Files::SamePath(const std::wstring& a, const std::wstring& b) { return SamePathText(a, b); }

winkit::Win32Result Win32Files::Inspect(const std::wstring& folder, FolderFacts* facts) {
    const winkit::UniqueFile handle(CreateFileW(folder.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES, kShareAll,
                                                nullptr, OPEN_EXISTING, kFolderFlags, nullptr));
    if (!handle) return winkit::LastError(L"Could not open " + folder);
    DWORD attributes = 0;
    facts->link = IsNameLink(handle.Get(), &attributes);
    facts->security = SecurityOf(handle.Get(), folder, &facts->sddl);
    return {};
}

winkit::Win32Result Win32Files::CreateFolder(const std::wstring& path, const std::wstring& sddl) {
    winkit::UniqueSecurityDescriptor descriptor;
    if (!DescriptorFrom(sddl, &descriptor)) return winkit::LastError(L"Could not create the folder " + path);
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.Get(), FALSE};
    if (CreateDirectoryW(path.c_str(), &attributes)) return {};
    return winkit::LastError(L"Could not create the folder " + path);
}

winkit::Win32Result Win32Files::OpenFolder(const std::wstring& path, bool removable,
                                           std::unique_ptr<HeldFolder>* folder) {
    const DWORD access = READ_CONTROL | FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_ADD_FILE |
                         SYNCHRONIZE | (removable ? DELETE : 0);
    winkit::UniqueFile handle(
        CreateFileW(path.c_str(), access, kShareButDelete, nullptr, OPEN_EXISTING, kFolderFlags, nullptr));
    if (!handle) return winkit::LastError(L"Could not open " + path);
    *folder = std::make_unique<Win32HeldFolder>(std::move(handle), path);
    return {};
}

winkit::Win32Result Win32Files::ReadSource(const std::wstring& path, Bytes* bytes, bool* tooLarge) {
    // Shared for reading only: nobody can change, rename or delete it while it is read.
    const winkit::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return winkit::LastError(L"Could not open " + path);
    return ReadAll(file.Get(), path, bytes, tooLarge);
}

winkit::Win32Result Win32Files::ReadOwnProgram(Bytes* bytes) {
    if (!m_ownProgram.file)
        return winkit::Win32Result::Failure(m_ownProgram.error, L"Could not open " + winkit::ProgramPath());
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(m_ownProgram.file.Get(), start, nullptr, FILE_BEGIN))
        return winkit::LastError(L"Could not read " + winkit::ProgramPath());
    bool tooLarge = false;
    const winkit::Win32Result read = ReadAll(m_ownProgram.file.Get(), winkit::ProgramPath(), bytes, &tooLarge);
    if (read.Ok() && tooLarge)
        return winkit::Win32Result::Failure(ERROR_FILE_TOO_LARGE, L"Could not read " + winkit::ProgramPath());
    return read;
}

}  // namespace setup
