#pragma once
// What a failed installation takes back, latest first, as Windows Installer's
// rollback does: the values Setup wrote (earlier values put back), the keys
// it created, the files it copied (earlier files put back) and the folder it
// created, so that the next try meets the computer as it was.
#include <functional>
#include <string>
#include <vector>

#include "Install.h"

namespace setup {

class Rollback {
public:
    explicit Rollback(registry::Backend& backend) : m_backend(backend) {}

    void FolderCreated(HeldFolder& folder, const std::wstring& path);
    void FileWritten(HeldFolder& folder, const std::wstring& target, const std::wstring& name,
                     std::optional<Bytes> previous);
    // Writes a machine value after noting how to take it back: the earlier
    // value or none, and the keys the write creates. A value whose earlier
    // state cannot be read is not written.
    registry::Status WriteValue(const RegistryWrite& write);
    // Latest first; each step that fails is reported and the others still run.
    std::vector<UndoneStep> UndoAll();

private:
    struct Step {
        std::wstring what;
        std::function<winkit::Win32Result()> undo;
    };
    registry::Backend& m_backend;
    std::vector<Step> m_steps;
};

}  // namespace setup
