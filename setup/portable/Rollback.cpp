#include "Rollback.h"

#include <utility>

namespace setup {

namespace {

using registry::Backend;
using registry::Root;

struct StoredValue {
    std::uint32_t type = 0;
    Bytes data;
};

class OpenKey {
public:
    explicit OpenKey(Backend& backend) : m_backend(backend) {}
    ~OpenKey() {
        if (m_key != 0) m_backend.CloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    long Open(const std::wstring& path, bool forWriting) {
        return m_backend.OpenKey(Root::LocalMachine, path, forWriting, &m_key);
    }
    Backend::Key Get() const { return m_key; }

private:
    Backend& m_backend;
    Backend::Key m_key = 0;
};

bool Missing(long error) { return error == winkit::kErrorFileNotFound; }

// The value as stored, nothing when it is not there; another failure is the
// code. The size is asked again when the value grew between the two calls.
long ReadStored(Backend& backend, const std::wstring& key, const std::wstring& name,
                std::optional<StoredValue>* stored) {
    stored->reset();
    OpenKey opened(backend);
    if (const long error = opened.Open(key, false); error != winkit::kErrorSuccess)
        return Missing(error) ? winkit::kErrorSuccess : error;
    for (;;) {
        StoredValue value;
        std::uint32_t size = 0;
        long error = backend.QueryValue(opened.Get(), name, &value.type, nullptr, &size);
        if (error == winkit::kErrorSuccess) {
            value.data.resize(size);
            error = backend.QueryValue(opened.Get(), name, &value.type, value.data.data(), &size);
        }
        if (error == winkit::kErrorMoreData) continue;
        if (error != winkit::kErrorSuccess) return Missing(error) ? winkit::kErrorSuccess : error;
        value.data.resize(size);
        *stored = std::move(value);
        return winkit::kErrorSuccess;
    }
}

winkit::Win32Result PutBack(Backend& backend, const std::wstring& key, const std::wstring& name,
                            const std::optional<StoredValue>& earlier, const std::wstring& what) {
    OpenKey opened(backend);
    long error = opened.Open(key, true);
    if (error == winkit::kErrorSuccess)
        error = earlier ? backend.SetValue(opened.Get(), name, earlier->type, earlier->data.data(),
                                           static_cast<std::uint32_t>(earlier->data.size()))
                        : backend.DeleteValue(opened.Get(), name);
    // Gone already is what removing it was for.
    if (error == winkit::kErrorSuccess || (!earlier && Missing(error))) return {};
    return winkit::Win32Result::Failure(error, what);
}

std::wstring MachineName(const std::wstring& key) { return std::wstring(registry::RootName(Root::LocalMachine)) + L"\\" + key; }

}  // namespace

void Rollback::FolderCreated(HeldFolder& folder, const std::wstring& path) {
    m_steps.push_back({L"remove the folder " + path, [&folder] { return folder.Remove(); }});
}

void Rollback::FileWritten(HeldFolder& folder, const std::wstring& target, const std::wstring& name,
                           std::optional<Bytes> previous) {
    const std::wstring what = (previous ? L"put back the earlier " : L"remove ") + target;
    m_steps.push_back({what, [&folder, name, previous = std::move(previous)] { return folder.Restore(name, previous); }});
}

registry::Status Rollback::WriteValue(const RegistryWrite& write) {
    // Every key on the way that is not there yet is created by the write.
    const std::wstring key = write.key;
    for (std::size_t end = key.find(L'\\'); ; end = key.find(L'\\', end + 1)) {
        const std::wstring part = key.substr(0, end);
        OpenKey opened(m_backend);
        if (Missing(opened.Open(part, false))) {
            m_steps.push_back({L"remove the key " + MachineName(part), [this, part] {
                                   const registry::Status removed =
                                       registry::DeleteKey(m_backend, Root::LocalMachine, part);
                                   return Missing(removed.code) ? registry::Status{} : removed;
                               }});
        }
        if (end == std::wstring::npos) break;
    }
    std::optional<StoredValue> earlier;
    if (const long error = ReadStored(m_backend, key, write.value, &earlier); error != winkit::kErrorSuccess)
        return winkit::Win32Result::Failure(error, L"Reading " + MachineName(key));
    const registry::Status status =
        write.type == registry::kTypeDword
            ? registry::SaveDword(m_backend, Root::LocalMachine, key, write.value, write.number)
            : registry::SaveString(m_backend, Root::LocalMachine, key, write.value, write.text);
    if (status.Ok()) {
        const std::wstring name = write.value;
        const std::wstring what = (earlier ? L"put back the earlier value " : L"remove the value ") +
                                  MachineName(key) + L" \"" + name + L"\"";
        m_steps.push_back({what, [this, key, name, earlier, what] { return PutBack(m_backend, key, name, earlier, what); }});
    }
    return status;
}

std::vector<UndoneStep> Rollback::UndoAll() {
    std::vector<UndoneStep> undone;
    for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step)
        undone.push_back({step->what, step->undo().code});
    m_steps.clear();
    return undone;
}

}  // namespace setup
