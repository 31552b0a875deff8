#pragma once
#include <string>
#include <vector>

namespace winkit {

// A program path as the first token of a command line (Run value, uninstall
// string, process start). Quoted when it holds a blank, or Windows would try
// "C:\Program.exe" first.
std::wstring QuoteProgramPath(const std::wstring& path);

// True when the text holds a character that would split it on a command line.
bool HasBlank(const std::wstring& text);

// A command line split as CommandLineToArgvW splits it, the program's name
// first: that name runs to the next quote when it starts with one, else to
// the first blank, and knows no escapes; after it, blanks outside quotes
// separate, 2n backslashes before a quote are n and the quote counts, 2n+1
// are n and a literal quote, and of a run of quotes every third is a literal
// one. Unlike CommandLineToArgvW, an empty text gives nothing rather than the
// running program's path. Here rather than through shell32, which neither
// program would load otherwise at start.
std::vector<std::wstring> SplitCommandLine(const std::wstring& line);

}  // namespace winkit
