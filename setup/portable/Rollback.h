#pragma once
// What a failed installation takes back, latest first, as Windows Installer's
// rollback does: the values Setup wrote (earlier values put back), the keys
// it created, the files it copied (earlier files put back) and the folder it
// created, so that the next try meets the computer as it was.
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
    // Writes (or, with kRemove, removes) a machine value after noting how to
    // take it back: the earlier value or none, and the keys the write
    // creates. A value whose earlier state cannot be read is not written.
    registry::Status WriteValue(const RegistryWrite& write);
    // Latest first; each step that fails is reported and the others still run.
    std::vector<UndoneStep> UndoAll();

    // A registry value as stored, for putting it back.
    struct StoredValue {
        std::uint32_t type = 0;
        Bytes data;
    };

private:
    enum class Kind { Folder, File, Key, Value };
    struct Step {
        Kind kind = Kind::Folder;
        UndoAction action = UndoAction::RemoveFolder;
        std::wstring subject;
        HeldFolder* folder = nullptr;
        std::wstring key;   // a key, or a value's key
        std::wstring name;  // a file or a value
        std::optional<Bytes> file;          // what a file held before
        std::optional<StoredValue> value;   // what a value held before
    };
    Step& Add(Kind kind, UndoAction action, std::wstring subject);
    winkit::Win32Result Undo(const Step& step);

    registry::Backend& m_backend;
    std::vector<Step> m_steps;
};

}  // namespace setup
