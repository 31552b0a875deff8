#include "Rollback.h"

#include <utility>

#include "Join.h"

namespace setup {

namespace {

using registry::Backend;
using registry::Root;
using winkit::Join;

bool Missing(long error) { return error == winkit::kErrorFileNotFound; }

// The value as stored, nothing when it is not there; another failure is the
// code.
long ReadStored(Backend& backend, const std::wstring& key, const std::wstring& name,
                std::optional<Rollback::StoredValue>* stored) {
    stored->reset();
    registry::OpenedKey opened = registry::KeyOf(backend);
    Rollback::StoredValue value;
    long error = backend.OpenKey(Root::LocalMachine, key, false, opened.Put());
    if (error == winkit::kErrorSuccess)
        error = registry::ReadValue(backend, opened.Get(), name, &value.type, &value.data);
    if (error == winkit::kErrorSuccess) *stored = std::move(value);
    return Missing(error) ? winkit::kErrorSuccess : error;
}

long PutBack(Backend& backend, const std::wstring& key, const std::wstring& name,
             const std::optional<Rollback::StoredValue>& earlier) {
    registry::OpenedKey opened = registry::KeyOf(backend);
    long error = backend.OpenKey(Root::LocalMachine, key, true, opened.Put());
    if (error == winkit::kErrorSuccess)
        error = earlier ? backend.SetValue(opened.Get(), name, earlier->type, earlier->data.data(),
                                           static_cast<std::uint32_t>(earlier->data.size()))
                        : backend.DeleteValue(opened.Get(), name);
    // Gone already is what removing it was for.
    return !earlier && Missing(error) ? winkit::kErrorSuccess : error;
}

std::wstring MachineName(const std::wstring& key) { return Join({registry::RootName(Root::LocalMachine), L"\\", key}); }

}  // namespace

void Rollback::FolderCreated(HeldFolder& folder, const std::wstring& path) {
    Add(Kind::Folder, UndoAction::RemoveFolder, path).folder = &folder;
}

void Rollback::FileWritten(HeldFolder& folder, const std::wstring& target, const std::wstring& name,
                           std::optional<Bytes> previous) {
    Step& step = Add(Kind::File, previous ? UndoAction::PutBackFile : UndoAction::RemoveFile, target);
    step.folder = &folder;
    step.name = name;
    step.file = std::move(previous);
}

registry::Status Rollback::WriteValue(const RegistryWrite& write) {
    // Every key on the way that is not there yet is created by the write.
    const std::wstring key = write.key;
    for (std::size_t end = key.find(L'\\');; end = key.find(L'\\', end + 1)) {
        const std::wstring part = key.substr(0, end);
        registry::OpenedKey opened = registry::KeyOf(m_backend);
        if (Missing(m_backend.OpenKey(Root::LocalMachine, part, false, opened.Put())))
            Add(Kind::Key, UndoAction::RemoveKey, MachineName(part)).key = part;
        if (end == std::wstring::npos) break;
    }
    std::optional<StoredValue> earlier;
    if (const long error = ReadStored(m_backend, key, write.value, &earlier); error != winkit::kErrorSuccess)
        return winkit::Win32Result::Failure(error, Join({L"Reading ", MachineName(key)}));
    // A removal of a value gone meanwhile has nothing to do.
    if (write.type == kRemove && !earlier) return {};
    const registry::Status status =
        write.type == kRemove ? registry::DeleteValue(m_backend, Root::LocalMachine, key, write.value)
        : write.type == registry::kTypeDword
            ? registry::SaveDword(m_backend, Root::LocalMachine, key, write.value, write.number)
            : registry::SaveString(m_backend, Root::LocalMachine, key, write.value, write.text);
    if (status.Ok()) {
        Step& step = Add(Kind::Value, earlier ? UndoAction::PutBackValue : UndoAction::RemoveValue,
                         Join({MachineName(key), L" \"", write.value, L"\""}));
        step.key = key;
        step.name = write.value;
        step.value = std::move(earlier);
    }
    return status;
}

Rollback::Step& Rollback::Add(Kind kind, UndoAction action, std::wstring subject) {
    m_steps.emplace_back();
    m_steps.back().kind = kind;
    m_steps.back().action = action;
    m_steps.back().subject = std::move(subject);
    return m_steps.back();
}

winkit::Win32Result Rollback::Undo(const Step& step) {
    switch (step.kind) {
    case Kind::Folder:
        return step.folder->Remove();
    case Kind::File:
        return step.folder->Restore(step.name, step.file);
    case Kind::Key: {
        const registry::Status removed = registry::DeleteKey(m_backend, Root::LocalMachine, step.key);
        return Missing(removed.code) ? registry::Status{} : removed;
    }
    case Kind::Value:
        break;
    }
    return {PutBack(m_backend, step.key, step.name, step.value), step.subject};
}

std::vector<UndoneStep> Rollback::UndoAll() {
    std::vector<UndoneStep> undone;
    for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step)
        undone.push_back({step->action, step->subject, Undo(*step).code});
    m_steps.clear();
    return undone;
}

}  // namespace setup
