#include "CommandLine.h"

namespace winkit {

bool HasBlank(const std::wstring& text) {
    return text.find_first_of(L" \t") != std::wstring::npos;
}

std::wstring QuoteProgramPath(const std::wstring& path) {
    if (!HasBlank(path)) return path;
    return L"\"" + path + L"\"";
}

}  // namespace winkit
