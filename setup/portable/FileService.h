#pragma once
// The file operations Install needs, as interfaces: the real ones in
// win32/Win32Files.cpp, fakes in the unit tests.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Win32Result.h"

namespace setup {

using Bytes = std::vector<std::uint8_t>;

// GetDriveTypeW's answers, in its numbering.
enum class DriveKind { Unknown, NoRoot, Removable, Fixed, Remote, CdRom, RamDisk };

// The install folder, opened once (FILE_FLAG_BACKUP_SEMANTICS |
// FILE_FLAG_OPEN_REPARSE_POINT, no FILE_SHARE_DELETE) and held until the last
// registry value is written: nobody can rename or delete it meanwhile, and
// everything Setup decides about it and writes into it goes through this one
// handle, never through its path again.
class HeldFolder {
public:
    virtual ~HeldFolder() = default;
    virtual bool IsFolder() = 0;
    // A junction or symbolic link itself, not a folder of its own.
    virtual bool IsLink() = 0;
    // Where the handle really leads (GetFinalPathNameByHandleW), as "X:\...".
    virtual winkit::Win32Result FinalPath(std::wstring* path) = 0;
    // Owner and DACL as SDDL.
    virtual winkit::Win32Result ReadSecurity(std::wstring* sddl) = 0;
    // The folder at this path is this one (Setup runs from it).
    virtual bool Is(const std::wstring& folderPath) = 0;
    // Creates or replaces a file in the folder; *previous gets what the file
    // held before, nothing when there was none.
    virtual winkit::Win32Result Write(const std::wstring& name, const Bytes& bytes,
                                      std::optional<Bytes>* previous) = 0;
    // Undoes a Write: the earlier content back, or the file removed.
    virtual winkit::Win32Result Restore(const std::wstring& name, const std::optional<Bytes>& previous) = 0;
    // Removes the folder itself; it must be empty. Only a folder opened as
    // removable (one this attempt created) can be.
    virtual winkit::Win32Result Remove() = 0;
};

// A folder above the install folder, as one handle opened on it shows it.
struct FolderFacts {
    bool link = false;
    winkit::Win32Result security;  // reading the permissions
    std::wstring sddl;
};

// The file operations Install needs.
class FileService {
public:
    virtual ~FileService() = default;
    // As Windows resolves it (GetFullPathNameW): relative parts, "/" and device
    // names such as "CON" resolved.
    virtual std::wstring FullPath(const std::wstring& path) = 0;
    // Short (8.3) names of the folders that exist expanded (GetLongPathNameW).
    virtual std::wstring LongPath(const std::wstring& fullPath) = 0;
    // The kind of the drive a full path "X:\..." is on.
    virtual DriveKind KindOfDrive(const std::wstring& fullPath) = 0;
    // Whether the volume of a root "X:\" keeps permissions
    // (FILE_PERSISTENT_ACLS): FAT32 and exFAT do not.
    virtual winkit::Win32Result KeepsPermissions(const std::wstring& root, bool* keeps) = 0;
    // "C:\": the root of the drive Windows itself is on.
    virtual std::wstring WindowsDriveRoot() = 0;
    // Windows' comparison of paths: letter case ignored.
    virtual bool SamePath(const std::wstring& a, const std::wstring& b) = 0;
    // Opened without following a link at the end of the path.
    virtual winkit::Win32Result Inspect(const std::wstring& folder, FolderFacts* facts) = 0;
    // One level: the parent must exist. The folder gets the descriptor (SDDL)
    // in the same call, so that there is no moment with other permissions.
    virtual winkit::Win32Result CreateFolder(const std::wstring& path, const std::wstring& sddl) = 0;
    // `removable`: with the right to remove it again, for a folder this
    // attempt created.
    virtual winkit::Win32Result OpenFolder(const std::wstring& path, bool removable,
                                           std::unique_ptr<HeldFolder>* folder) = 0;
    // A file's bytes, read through a handle that lets nobody write, rename or
    // delete the file meanwhile; larger than kMaxSourceSize: not read.
    virtual winkit::Win32Result ReadSource(const std::wstring& path, Bytes* bytes, bool* tooLarge) = 0;
    // Setup's own file, held so since Setup started.
    virtual winkit::Win32Result ReadOwnProgram(Bytes* bytes) = 0;
};

}  // namespace setup
