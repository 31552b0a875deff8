#include "CommandLine.h"

namespace winkit {

namespace {

bool Blank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

bool HasBlank(const std::wstring& text) {
    return text.find_first_of(L" \t") != std::wstring::npos;
}

std::wstring QuoteProgramPath(const std::wstring& path) {
    if (!HasBlank(path)) return path;
    return L"\"" + path + L"\"";
}

std::vector<std::wstring> SplitCommandLine(const std::wstring& line) {
    std::vector<std::wstring> arguments;
    if (line.empty()) return arguments;
    std::size_t at = 0;
    std::wstring name;
    if (line[0] == L'"') {
        const std::size_t close = line.find(L'"', 1);
        name = line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
        at = close == std::wstring::npos ? line.size() : close + 1;
    } else {
        while (at < line.size() && !Blank(line[at])) name += line[at++];
    }
    arguments.push_back(name);

    bool quoted = false;
    bool inArgument = false;
    while (at < line.size()) {
        const wchar_t c = line[at];
        if (Blank(c) && !quoted) {
            if (inArgument) inArgument = false;
            ++at;
            continue;
        }
        if (!inArgument) {
            arguments.emplace_back();
            inArgument = true;
        }
        std::wstring& argument = arguments.back();
        if (c == L'\\') {
            std::size_t count = 0;
            while (at < line.size() && line[at] == L'\\') ++count, ++at;
            if (at < line.size() && line[at] == L'"') {
                argument.append(count / 2, L'\\');
                if (count % 2 == 1) {
                    argument += L'"';
                    ++at;
                }
            } else {
                argument.append(count, L'\\');
            }
            continue;
        }
        if (c == L'"') {
            // Inside quotes one quote closes them; of a run of quotes the
            // third in a row is a literal quote and leaves the quotes.
            int state = quoted ? 2 : 1;
            for (++at; at < line.size() && line[at] == L'"'; ++at) {
                if (++state == 3) {
                    argument += L'"';
                    state = 0;
                }
            }
            quoted = state == 1;
            continue;
        }
        argument += c;
        ++at;
    }
    return arguments;
}

}  // namespace winkit
