#include "Registry.h"

namespace registry {

namespace {

// Closes the key on every path out of a routine.
class OpenedKey {
public:
    OpenedKey(Backend& backend) : m_backend(backend) {}
    ~OpenedKey() {
        if (m_key != 0) m_backend.CloseKey(m_key);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    Backend::Key* Out() { return &m_key; }
    Backend::Key Get() const { return m_key; }

private:
    Backend& m_backend;
    Backend::Key m_key = 0;
};

// A result naming the value (or the whole key, for an empty name) it was about.
Status Refused(long code, const wchar_t* verb, Root root, const std::wstring& subKey, const std::wstring& valueName) {
    if (code == winkit::kErrorSuccess) return {};
    std::wstring what = std::wstring(verb) + L" " + RootName(root) + L"\\" + subKey;
    if (!valueName.empty()) what += L" \"" + valueName + L"\"";
    return Status::Failure(code, what);
}

}  // namespace

std::vector<std::uint8_t> ToUtf16Bytes(const std::wstring& text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2 + 2);
    auto put = [&bytes](std::uint32_t unit) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
    };
    for (wchar_t ch : text) {
        auto cp = static_cast<std::uint32_t>(ch);
        if (sizeof(wchar_t) > 2 && cp > 0xFFFF) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp & 0xFFFF);
        }
    }
    return bytes;
}

std::wstring FromUtf16Bytes(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    const std::size_t units = size / 2;  // an odd last byte is no character
    text.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t unit = data[2 * i] | (static_cast<std::uint32_t>(data[2 * i + 1]) << 8);
        if (sizeof(wchar_t) > 2 && unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
            std::uint32_t low = data[2 * i + 2] | (static_cast<std::uint32_t>(data[2 * i + 3]) << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                ++i;
                continue;
            }
        }
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

std::wstring StripAtNull(const std::wstring& text) {
    const auto nul = text.find(L'\0');
    return nul == std::wstring::npos ? text : text.substr(0, nul);
}

namespace {

// Group Policy Preferences and "reg add /t REG_EXPAND_SZ" store paths with
// %VARIABLES% as REG_EXPAND_SZ: the text is read as it is stored, and the
// launcher expands the folder's variables itself.
bool IsText(std::uint32_t type) { return type == kTypeSz || type == kTypeExpandSz; }

}  // namespace

std::optional<std::wstring> QueryStringValue(Backend& backend, Backend::Key openKey,
                                             const std::wstring& valueName) {
    // Most values are short: one call reads them (each call is a trip to the
    // registry's server, and the launcher reads dozens at start); a longer
    // one says its size. It may grow before the next call: ask again.
    std::vector<std::uint8_t> buffer(512);
    std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::uint32_t type = 0;
        const long result = backend.QueryValue(openKey, valueName, &type, buffer.data(), &size);
        if (result == winkit::kErrorMoreData) {
            buffer.resize(size);
            continue;
        }
        if (result != winkit::kErrorSuccess || !IsText(type)) return std::nullopt;
        return StripAtNull(FromUtf16Bytes(buffer.data(), size));
    }
    return std::nullopt;
}

std::optional<std::wstring> GetString(Backend& backend, Root root, const std::wstring& subKey,
                                      const std::wstring& valueName) {
    OpenedKey key(backend);
    if (backend.OpenKey(root, subKey, false, key.Out()) != winkit::kErrorSuccess) return std::nullopt;
    return QueryStringValue(backend, key.Get(), valueName);
}

std::optional<std::wstring> LookUpString(Backend& backend, const Place* first, const Place* last,
                                         const std::wstring& valueName) {
    for (const Place* place = first; place != last; ++place)
        if (auto text = GetString(backend, place->root, place->key, valueName)) return text;
    return std::nullopt;
}

std::vector<std::optional<std::wstring>> GetStrings(Backend& backend, Root root, const std::wstring& subKey,
                                                    const std::vector<const wchar_t*>& valueNames) {
    std::vector<std::optional<std::wstring>> texts(valueNames.size());
    OpenedKey key(backend);
    if (backend.OpenKey(root, subKey, false, key.Out()) != winkit::kErrorSuccess) return texts;
    for (std::size_t index = 0; index < valueNames.size(); ++index)
        texts[index] = QueryStringValue(backend, key.Get(), valueNames[index]);
    return texts;
}

std::vector<std::wstring> SubKeyNames(Backend& backend, Root root, const std::wstring& subKey) {
    std::vector<std::wstring> names;
    OpenedKey key(backend);
    if (backend.OpenKey(root, subKey, false, key.Out()) != winkit::kErrorSuccess) return names;
    std::wstring name;
    for (std::uint32_t index = 0; backend.EnumKey(key.Get(), index, &name) == winkit::kErrorSuccess; ++index)
        names.push_back(name);
    return names;
}

std::vector<NamedText> StringValues(Backend& backend, Root root, const std::wstring& subKey) {
    std::vector<NamedText> values;
    OpenedKey key(backend);
    if (backend.OpenKey(root, subKey, false, key.Out()) != winkit::kErrorSuccess) return values;
    std::wstring name;
    for (std::uint32_t index = 0; backend.EnumValue(key.Get(), index, &name) == winkit::kErrorSuccess; ++index) {
        if (auto text = QueryStringValue(backend, key.Get(), name)) values.push_back({name, std::move(*text)});
    }
    return values;
}

const wchar_t* RootName(Root root) {
    return root == Root::CurrentUser ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";  // both views
}

Status SaveString(Backend& backend, Root root, const std::wstring& subKey,
                  const std::wstring& valueName, const std::wstring& value) {
    OpenedKey key(backend);
    if (const long result = backend.CreateKey(root, subKey, key.Out()); result != winkit::kErrorSuccess)
        return Refused(result, L"Writing", root, subKey, valueName);
    auto data = ToUtf16Bytes(value);
    data.push_back(0);
    data.push_back(0);
    if (data.size() > 0xFFFFFFFFu) return Refused(winkit::kErrorInvalidParameter, L"Writing", root, subKey, valueName);
    return Refused(backend.SetValue(key.Get(), valueName, kTypeSz, data.data(),
                                    static_cast<std::uint32_t>(data.size())),
                   L"Writing", root, subKey, valueName);
}

Status SaveDword(Backend& backend, Root root, const std::wstring& subKey, const std::wstring& valueName,
                 std::uint32_t value) {
    OpenedKey key(backend);
    if (const long result = backend.CreateKey(root, subKey, key.Out()); result != winkit::kErrorSuccess)
        return Refused(result, L"Writing", root, subKey, valueName);
    // REG_DWORD is little-endian on every Windows platform.
    const std::uint8_t data[4] = {static_cast<std::uint8_t>(value & 0xFF),
                                  static_cast<std::uint8_t>((value >> 8) & 0xFF),
                                  static_cast<std::uint8_t>((value >> 16) & 0xFF),
                                  static_cast<std::uint8_t>((value >> 24) & 0xFF)};
    return Refused(backend.SetValue(key.Get(), valueName, kTypeDword, data, 4), L"Writing", root, subKey, valueName);
}

Status DeleteValue(Backend& backend, Root root, const std::wstring& subKey,
                   const std::wstring& valueName) {
    OpenedKey key(backend);
    if (const long result = backend.OpenKey(root, subKey, true, key.Out()); result != winkit::kErrorSuccess)
        return Refused(result, L"Removing", root, subKey, valueName);
    return Refused(backend.DeleteValue(key.Get(), valueName), L"Removing", root, subKey, valueName);
}

Status DeleteKey(Backend& backend, Root root, const std::wstring& subKey) {
    return Refused(backend.DeleteKey(root, subKey), L"Removing", root, subKey, std::wstring());
}

}  // namespace registry
