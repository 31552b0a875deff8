#pragma once
#include <windows.h>
#include <shellapi.h>

namespace launcher {

class Form1;

inline constexpr UINT kTrayIconId = 125;

void InitTray(Form1& form);
void AddTrayIcon(Form1& form);
void RemoveTrayIcon(Form1& form);
LRESULT CALLBACK TrayWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The record as the first shell version defines it (88 bytes in the 32-bit
// build); newer fields would only be ignored or misread by old shells.
inline constexpr DWORD kTrayRecordSize = NOTIFYICONDATAA_V1_SIZE;
#ifndef _WIN64
static_assert(kTrayRecordSize == 88, "first-version tray record is 88 bytes on 32-bit Windows");
#endif

}  // namespace launcher
