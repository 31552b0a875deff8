#include "Registry.h"

#include "Utf16.h"

namespace registry {

namespace {

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

std::wstring TextOfUtf16(const std::uint8_t* data, std::size_t size) {
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
        if (unit == 0) break;
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

long ReadValue(Backend& backend, Backend::Key openKey, const std::wstring& valueName, std::uint32_t* type,
               std::vector<std::uint8_t>* data) {
    data->resize(512);
    std::uint32_t size = static_cast<std::uint32_t>(data->size());
    for (int attempt = 0; attempt < 4; ++attempt) {
        const long result = backend.QueryValue(openKey, valueName, type, data->data(), &size);
        data->resize(size);
        if (result != winkit::kErrorMoreData) return result;
    }
    return winkit::kErrorMoreData;
}

namespace {

// Group Policy Preferences and "reg add /t REG_EXPAND_SZ" store paths with
// %VARIABLES% as REG_EXPAND_SZ: the text is read as it is stored, and the
// launcher expands the folder's variables itself.
bool IsText(std::uint32_t type) { return type == kTypeSz || type == kTypeExpandSz; }

std::optional<std::wstring> QueryStringValue(Backend& backend, Backend::Key openKey,
                                             const std::wstring& valueName) {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (ReadValue(backend, openKey, valueName, &type, &data) != winkit::kErrorSuccess || !IsText(type))
        return std::nullopt;
    return TextOfUtf16(data.data(), data.size());
}

}  // namespace

std::optional<std::wstring> GetString(Backend& backend, Root root, const std::wstring& subKey,
                                      const std::wstring& valueName) {
    OpenedKey key = KeyOf(backend);
    if (backend.OpenKey(root, subKey, false, key.Put()) != winkit::kErrorSuccess) return std::nullopt;
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
    OpenedKey key = KeyOf(backend);
    if (backend.OpenKey(root, subKey, false, key.Put()) != winkit::kErrorSuccess) return texts;
    for (std::size_t index = 0; index < valueNames.size(); ++index)
        texts[index] = QueryStringValue(backend, key.Get(), valueNames[index]);
    return texts;
}

std::vector<std::wstring> SubKeyNames(Backend& backend, Root root, const std::wstring& subKey) {
    std::vector<std::wstring> names;
    OpenedKey key = KeyOf(backend);
    if (backend.OpenKey(root, subKey, false, key.Put()) != winkit::kErrorSuccess) return names;
    std::wstring name;
    for (std::uint32_t index = 0; backend.EnumKey(key.Get(), index, &name) == winkit::kErrorSuccess; ++index)
        names.push_back(name);
    return names;
}

std::vector<NamedText> StringValues(Backend& backend, Root root, const std::wstring& subKey) {
    std::vector<NamedText> values;
    OpenedKey key = KeyOf(backend);
    if (backend.OpenKey(root, subKey, false, key.Put()) != winkit::kErrorSuccess) return values;
    std::wstring name;
    for (std::uint32_t index = 0; backend.EnumValue(key.Get(), index, &name) == winkit::kErrorSuccess; ++index) {
        if (auto text = QueryStringValue(backend, key.Get(), name)) values.push_back({name, std::move(*text)});
    }
    return values;
}

const wchar_t* RootName(Root root) {
    return root == Root::CurrentUser ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";  // both views
}

namespace {

Status SaveValue(Backend& backend, Root root, const std::wstring& subKey, const std::wstring& valueName,
                 std::uint32_t type, const std::uint8_t* data, std::size_t size) {
    OpenedKey key = KeyOf(backend);
    long result = backend.CreateKey(root, subKey, key.Put());
    if (result == winkit::kErrorSuccess && size > 0xFFFFFFFFu) result = winkit::kErrorInvalidParameter;
    if (result == winkit::kErrorSuccess)
        result = backend.SetValue(key.Get(), valueName, type, data, static_cast<std::uint32_t>(size));
    return Refused(result, L"Writing", root, subKey, valueName);
}

}  // namespace

Status SaveString(Backend& backend, Root root, const std::wstring& subKey,
                  const std::wstring& valueName, const std::wstring& value) {
    auto data = ToUtf16Bytes(value);
    data.push_back(0);
    data.push_back(0);
    return SaveValue(backend, root, subKey, valueName, kTypeSz, data.data(), data.size());
}

Status SaveDword(Backend& backend, Root root, const std::wstring& subKey, const std::wstring& valueName,
                 std::uint32_t value) {
    // REG_DWORD is little-endian on every Windows platform.
    const std::uint8_t data[4] = {static_cast<std::uint8_t>(value & 0xFF),
                                  static_cast<std::uint8_t>((value >> 8) & 0xFF),
                                  static_cast<std::uint8_t>((value >> 16) & 0xFF),
                                  static_cast<std::uint8_t>((value >> 24) & 0xFF)};
    return SaveValue(backend, root, subKey, valueName, kTypeDword, data, 4);
}

Status DeleteValue(Backend& backend, Root root, const std::wstring& subKey,
                   const std::wstring& valueName) {
    OpenedKey key = KeyOf(backend);
    if (const long result = backend.OpenKey(root, subKey, true, key.Put()); result != winkit::kErrorSuccess)
        return Refused(result, L"Removing", root, subKey, valueName);
    return Refused(backend.DeleteValue(key.Get(), valueName), L"Removing", root, subKey, valueName);
}

Status DeleteKey(Backend& backend, Root root, const std::wstring& subKey) {
    return Refused(backend.DeleteKey(root, subKey), L"Removing", root, subKey, std::wstring());
}

}  // namespace registry
