#pragma once
// Command lines and the arguments CommandLineToArgvW makes of them: the
// native tests hold winkit's splitter to them, the Win32 tests under Wine the
// system's function as well.
#include <string>
#include <vector>

struct CommandLineCase {
    const wchar_t* line;
    std::vector<std::wstring> arguments;
};

inline const CommandLineCase kCommandLineCases[] = {
    {L"", {}},
    {L"Setup.exe", {L"Setup.exe"}},
    {L"\"C:\\Program Files\\T\\Setup.exe\" /S", {L"C:\\Program Files\\T\\Setup.exe", L"/S"}},
    {L"\"C:\\a b\\Setup.exe", {L"C:\\a b\\Setup.exe"}},
    {L"\"C:\\a b\"x y", {L"C:\\a b", L"x", L"y"}},
    {L"C:\\T\\Setup.exe\\\" /S", {L"C:\\T\\Setup.exe\\\"", L"/S"}},
    {L"S  /S\t-dir=x  ", {L"S", L"/S", L"-dir=x"}},
    {L"S \"/DIR=C:\\Program Files\\Tolvane\"", {L"S", L"/DIR=C:\\Program Files\\Tolvane"}},
    {L"S /DIR=\"C:\\a b\\\" /S", {L"S", L"/DIR=C:\\a b\" /S"}},
    {L"S /DIR=\"C:\\a b\\\\\" /S", {L"S", L"/DIR=C:\\a b\\", L"/S"}},
    {L"S a\\\\b c\\", {L"S", L"a\\\\b", L"c\\"}},
    {L"S a\\\\\\\"b", {L"S", L"a\\\"b"}},
    {L"S \"\" x", {L"S", L"", L"x"}},
    {L"S \"\"\"", {L"S", L"\""}},
    {L"S \"a\"\"b c\"", {L"S", L"a\"b", L"c"}},
    {L"S \"\"\"a b\"\"\"", {L"S", L"\"a", L"b\""}},
    {L"S \"\"\"\"\"\"", {L"S", L"\"\""}},
    {L"S a\"b c\"d", {L"S", L"ab cd"}},
    {L"S \\\"\"a b\"", {L"S", L"\"a b"}},
    {L"S \"a\n\"b", {L"S", L"a\nb"}},
};
