#pragma once
#include <string>

namespace winkit {

// A program path as the first token of a command line (Run value, uninstall
// string, process start). Quoted when it holds a blank, or Windows would try
// "C:\Program.exe" first.
std::wstring QuoteProgramPath(const std::wstring& path);

// True when the text holds a character that would split it on a command line.
bool HasBlank(const std::wstring& text);

}  // namespace winkit
