#pragma once
#include <string>

#include "Install.h"

namespace setup {

// The file service of the running installer: kernel32 file functions and
// advapi32's security descriptors.
class Win32Files final : public FileService {
public:
    std::wstring FullPath(const std::wstring& path) override;
    DriveKind KindOfDrive(const std::wstring& fullPath) override;
    std::wstring FirstMatch(const std::wstring& pattern) override;
    winkit::Win32Result CreateFolder(const std::wstring& path, const std::wstring& sddl) override;
    bool IsFolder(const std::wstring& path) override;
    bool IsLink(const std::wstring& path) override;
    winkit::Win32Result ReadSecurity(const std::wstring& path, std::wstring* sddl) override;
    winkit::Win32Result Protect(const std::wstring& path, const std::wstring& sddl) override;
    bool IsFile(const std::wstring& path) override;
    bool SameFile(const std::wstring& a, const std::wstring& b) override;
    winkit::Win32Result CopyReplacing(const std::wstring& from, const std::wstring& to) override;
};

}  // namespace setup
