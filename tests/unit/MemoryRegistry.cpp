#include "MemoryRegistry.h"

#include <gtest/gtest.h>

#include "Utf16.h"

#include <algorithm>
#include <cwctype>
#include <utility>

namespace testing_support {

using namespace registry;

bool CaseInsensitiveLess::operator()(const std::wstring& a, const std::wstring& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
        return std::towlower(static_cast<wint_t>(x)) < std::towlower(static_cast<wint_t>(y));
    });
}

namespace {

std::vector<std::wstring> Parents(const std::wstring& path) {
    std::vector<std::wstring> result;
    for (std::size_t pos = path.find(L'\\'); pos != std::wstring::npos; pos = path.find(L'\\', pos + 1))
        result.push_back(path.substr(0, pos));
    result.push_back(path);
    return result;
}

// Each root (and view) is a tree of its own.
std::wstring PathIn(Root root, const std::wstring& subKey) {
    switch (root) {
    case Root::CurrentUser:
        return User(subKey);
    case Root::MachinePolicy:
        return MachinePolicy(subKey);
    case Root::LocalMachine:
        break;
    }
    return subKey;
}

}  // namespace

Backend::Key MemoryRegistry::NewHandle(const std::wstring& path, bool writable) {
    const Key key = m_nextHandle++;
    m_handles[key] = Handle{path, writable};
    return key;
}

// RegSetValueEx and RegDeleteValue on a handle opened with KEY_QUERY_VALUE
// only give ERROR_ACCESS_DENIED, whatever the caller's rights.
long MemoryRegistry::WritableKey(Key key, const std::wstring** path) const {
    const auto handle = m_handles.find(key);
    if (handle == m_handles.end()) return winkit::kErrorInvalidHandle;
    if (!handle->second.writable) return winkit::kErrorAccessDenied;
    if (WriteError(handle->second.path) != winkit::kErrorSuccess) return WriteError(handle->second.path);
    *path = &handle->second.path;
    return winkit::kErrorSuccess;
}

// RegQueryValueEx and the enumerations on a handle opened with KEY_SET_VALUE
// only give ERROR_ACCESS_DENIED.
long MemoryRegistry::ReadableKey(Key key, const std::wstring** path) const {
    const auto handle = m_handles.find(key);
    if (handle == m_handles.end()) return winkit::kErrorInvalidHandle;
    if (handle->second.writable) return winkit::kErrorAccessDenied;
    *path = &handle->second.path;
    return winkit::kErrorSuccess;
}

long MemoryRegistry::WriteError(const std::wstring& path) const {
    return m_machineOnly && path.rfind(User(L""), 0) == 0 ? winkit::kErrorSuccess : m_writeError;
}

long MemoryRegistry::OpenKey(Root root, const std::wstring& subKey, bool forWriting, Key* key) {
    *key = 0;
    ++m_opens;
    const std::wstring path = PathIn(root, subKey);
    if (m_keys.find(path) == m_keys.end()) return winkit::kErrorFileNotFound;
    if (forWriting && WriteError(path) != winkit::kErrorSuccess) return WriteError(path);
    *key = NewHandle(path, forWriting);
    return winkit::kErrorSuccess;
}

long MemoryRegistry::CreateKey(Root root, const std::wstring& subKey, Key* key) {
    *key = 0;
    if (subKey.empty()) return winkit::kErrorInvalidParameter;
    const std::wstring path = PathIn(root, subKey);
    if (WriteError(path) != winkit::kErrorSuccess) return WriteError(path);
    for (const auto& part : Parents(path)) m_keys[part];
    *key = NewHandle(path, true);
    return winkit::kErrorSuccess;
}

long MemoryRegistry::QueryValue(Key key, const std::wstring& name, std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* size) {
    const std::wstring* path = nullptr;
    if (const long error = ReadableKey(key, &path); error != winkit::kErrorSuccess) return error;
    if (!m_unreadValue.empty() && !CaseInsensitiveLess{}(name, m_unreadValue) &&
        !CaseInsensitiveLess{}(m_unreadValue, name))
        return m_readError;
    Value* value = const_cast<Value*>(Find(*path, name));
    if (value == nullptr) return winkit::kErrorFileNotFound;
    if (data != nullptr && m_retype != 0) value->type = std::exchange(m_retype, 0);
    if (data != nullptr && m_growths > 0 && value->data.size() >= 2) {
        --m_growths;
        value->data.insert(value->data.end() - 2, {static_cast<std::uint8_t>('x'), 0});
    }
    const auto needed = static_cast<std::uint32_t>(value->data.size());
    *type = value->type;
    if (data == nullptr) {
        *size = needed;
        return winkit::kErrorSuccess;
    }
    if (*size < needed) {
        *size = needed;
        return winkit::kErrorMoreData;
    }
    std::copy(value->data.begin(), value->data.end(), data);
    *size = needed;
    return winkit::kErrorSuccess;
}

long MemoryRegistry::SetValue(Key key, const std::wstring& name, std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t size) {
    const std::wstring* path = nullptr;
    if (const long error = WritableKey(key, &path); error != winkit::kErrorSuccess) return error;
    if (!m_refusedValue.empty() && !CaseInsensitiveLess{}(name, m_refusedValue) &&
        !CaseInsensitiveLess{}(m_refusedValue, name))
        return m_valueError;
    Put(*path, name, type, std::vector<std::uint8_t>(data, data + size));
    return winkit::kErrorSuccess;
}

// A value written again keeps its place among the key's values.
void MemoryRegistry::Put(const std::wstring& path, const std::wstring& name, std::uint32_t type,
                         std::vector<std::uint8_t> data) {
    Value& value = m_keys[path][name];
    if (value.written == 0) value.written = ++m_writes;
    value.type = type;
    value.data = std::move(data);
}

long MemoryRegistry::DeleteValue(Key key, const std::wstring& name) {
    const std::wstring* path = nullptr;
    if (const long error = WritableKey(key, &path); error != winkit::kErrorSuccess) return error;
    if (!m_refusedValue.empty() && !CaseInsensitiveLess{}(name, m_refusedValue) &&
        !CaseInsensitiveLess{}(m_refusedValue, name))
        return m_valueError;
    auto& values = m_keys[*path];
    return values.erase(name) == 1 ? winkit::kErrorSuccess : winkit::kErrorFileNotFound;
}

long MemoryRegistry::DeleteKey(Root root, const std::wstring& subKey) {
    const auto found = m_keys.find(PathIn(root, subKey));
    if (found == m_keys.end()) return winkit::kErrorFileNotFound;
    if (WriteError(found->first) != winkit::kErrorSuccess) return WriteError(found->first);
    const std::wstring prefix = found->first + L"\\";
    for (const auto& entry : m_keys) {
        if (entry.first.size() > prefix.size() &&
            !CaseInsensitiveLess{}(entry.first.substr(0, prefix.size()), prefix) &&
            !CaseInsensitiveLess{}(prefix, entry.first.substr(0, prefix.size())))
            return winkit::kErrorAccessDenied;  // RegDeleteKey refuses keys with subkeys
    }
    m_keys.erase(found);
    return winkit::kErrorSuccess;
}

long MemoryRegistry::EnumKey(Key key, std::uint32_t index, std::wstring* name) {
    const std::wstring* path = nullptr;
    if (const long error = ReadableKey(key, &path); error != winkit::kErrorSuccess) return error;
    const std::wstring prefix = *path + L"\\";
    std::uint32_t seen = 0;
    for (const auto& entry : m_keys) {
        const std::wstring& full = entry.first;
        if (full.size() <= prefix.size() || full.find(L'\\', prefix.size()) != std::wstring::npos ||
            CaseInsensitiveLess{}(full.substr(0, prefix.size()), prefix) ||
            CaseInsensitiveLess{}(prefix, full.substr(0, prefix.size())))
            continue;
        if (seen++ == index) {
            *name = full.substr(prefix.size());
            return winkit::kErrorSuccess;
        }
    }
    return winkit::kErrorNoMoreItems;
}

long MemoryRegistry::EnumValue(Key key, std::uint32_t index, std::wstring* name) {
    const std::wstring* path = nullptr;
    if (const long error = ReadableKey(key, &path); error != winkit::kErrorSuccess) return error;
    std::vector<std::pair<std::uint64_t, std::wstring>> order;
    for (const auto& [valueName, value] : m_keys[*path]) order.emplace_back(value.written, valueName);
    std::sort(order.begin(), order.end());
    if (index >= order.size()) return winkit::kErrorNoMoreItems;
    *name = order[index].second;
    return winkit::kErrorSuccess;
}

// RegCloseKey refuses a handle that is not open (ERROR_INVALID_HANDLE), and
// the caller would never learn of it.
void MemoryRegistry::CloseKey(Key key) {
    if (m_handles.erase(key) != 1) ADD_FAILURE() << "closed a key that is not open: " << key;
}

void MemoryRegistry::PutRaw(const std::wstring& path, const std::wstring& name, std::uint32_t type,
                            std::vector<std::uint8_t> data) {
    for (const auto& part : Parents(path)) m_keys[part];
    Put(path, name, type, std::move(data));
}

void MemoryRegistry::PutString(const std::wstring& path, const std::wstring& name, const std::wstring& text,
                               std::uint32_t type) {
    auto data = ToUtf16Bytes(text);
    data.push_back(0);
    data.push_back(0);
    PutRaw(path, name, type, std::move(data));
}

bool MemoryRegistry::HasKey(const std::wstring& path) const { return m_keys.find(path) != m_keys.end(); }

bool MemoryRegistry::HasValue(const std::wstring& path, const std::wstring& name) const {
    return Find(path, name) != nullptr;
}

const MemoryRegistry::Value* MemoryRegistry::Find(const std::wstring& path, const std::wstring& name) const {
    const auto key = m_keys.find(path);
    if (key == m_keys.end()) return nullptr;
    const auto value = key->second.find(name);
    return value == key->second.end() ? nullptr : &value->second;
}

std::wstring MemoryRegistry::StoredText(const std::wstring& path, const std::wstring& name) const {
    const Value* value = Find(path, name);
    if (value == nullptr) return L"<missing>";
    return TextOfUtf16(value->data.data(), value->data.size());
}

}  // namespace testing_support
