#pragma once
#include "Install.h"

namespace setup {

// The file service of the running installer: kernel32 file functions.
class Win32Files final : public FileService {
public:
    std::wstring FirstMatch(const std::wstring& pattern) override;
    winkit::Win32Result CreateFolder(const std::wstring& path) override;
    bool IsFolder(const std::wstring& path) override;
    bool IsFile(const std::wstring& path) override;
    bool SameFile(const std::wstring& a, const std::wstring& b) override;
    winkit::Win32Result CopyReplacing(const std::wstring& from, const std::wstring& to) override;
};

}  // namespace setup
