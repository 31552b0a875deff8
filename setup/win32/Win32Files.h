#pragma once
#include <string>

#include "Handles.h"
#include "Install.h"

namespace setup {

// The running program's own file, opened at its start for reading and held
// so that nobody can write, rename or delete it while Setup runs (or why it
// could not be opened).
struct OwnProgram {
    winkit::UniqueFile file;
    long error = 0;
};
OwnProgram OpenOwnProgram();

// The file service of the running installer: kernel32's and ntdll's file
// functions and advapi32's security descriptors.
class Win32Files final : public FileService {
public:
    explicit Win32Files(const OwnProgram& ownProgram) : m_ownProgram(ownProgram) {}

    std::wstring FullPath(const std::wstring& path) override;
    std::wstring LongPath(const std::wstring& fullPath) override;
    DriveKind KindOfDrive(const std::wstring& fullPath) override;
    winkit::Win32Result KeepsPermissions(const std::wstring& root, bool* keeps) override;
    std::wstring WindowsDriveRoot() override;
    bool SamePath(const std::wstring& a, const std::wstring& b) override;
    winkit::Win32Result Inspect(const std::wstring& folder, FolderFacts* facts) override;
    winkit::Win32Result CreateFolder(const std::wstring& path, const std::wstring& sddl) override;
    winkit::Win32Result OpenFolder(const std::wstring& path, bool removable,
                                   std::unique_ptr<HeldFolder>* folder) override;
    winkit::Win32Result ReadSource(const std::wstring& path, Bytes* bytes, bool* tooLarge) override;
    winkit::Win32Result ReadOwnProgram(Bytes* bytes) override;

private:
    const OwnProgram& m_ownProgram;
};

// This program's own path and the SHA-256 of the launcher and the guide it
// was built with.
Sources ShippedSources();

}  // namespace setup
