#pragma once
// Paths as Windows resolves them, and what a handle shows of its file: for the
// file service and for the log file alike.
#include <windows.h>

#include <string>

#include "Win32Result.h"

namespace setup {

// GetFullPathNameW; the text as it is when Windows cannot resolve it.
std::wstring FullPathOf(const std::wstring& path);
// GetLongPathNameW on the part of a full path that exists.
std::wstring LongPathOf(const std::wstring& fullPath);
// Windows' comparison of paths (ordinal, letter case ignored).
bool SamePathText(const std::wstring& a, const std::wstring& b);
// GetFinalPathNameByHandleW as "X:\..." or "\\server\...".
winkit::Win32Result FinalPathOf(HANDLE handle, std::wstring* path);
// The reparse point itself, and whether it is a link that redirects names.
bool IsNameLink(HANDLE handle, DWORD* attributes);
// Deleted when its last handle closes.
winkit::Win32Result MarkForDeletion(HANDLE handle, const std::wstring& path);

}  // namespace setup
