// MenuProbe.dll: loaded into the launcher's process through a WH_CALLWNDPROC
// hook that TestDriver installs on the launcher's GUI thread. Inside that
// thread the open popup menu can be read (MN_GETHMENU answers only there under
// Wine), so on the registered message "Tolvane.MenuProbe.Dump" it writes the
// menu's items as JSON lines into %TEMP%\TolvaneMenuProbe.txt. A list view's
// rows, whose texts come back through pointers that only its own process can
// follow, are written the same way for "Tolvane.MenuProbe.DumpList" sent to it.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "Json.h"

namespace {

using driver_json::JsonString;

HMENU g_lastInitMenu = nullptr;


struct PopupSearch {
    HWND popup = nullptr;
};

HWND FindOpenPopup()
{
    PopupSearch search;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) CALLBACK -> BOOL {
            wchar_t className[64] = {};
            GetClassNameW(hwnd, className, 64);
            if (lstrcmpW(className, L"#32768") == 0 && IsWindowVisible(hwnd)) {
                reinterpret_cast<PopupSearch*>(param)->popup = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.popup) {
        // Wine may own the popup window elsewhere; a top-level search still
        // finds it when this thread shows the menu.
        HWND candidate = FindWindowW(L"#32768", nullptr);
        if (candidate && GetWindowThreadProcessId(candidate, nullptr) == GetCurrentThreadId()) {
            search.popup = candidate;
        }
    }
    return search.popup;
}

void WriteResult(const std::string& text)
{
    wchar_t tempPath[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tempPath);
    const std::wstring finalPath = std::wstring(tempPath) + L"TolvaneMenuProbe.txt";
    const std::wstring partPath = finalPath + L".part";
    HANDLE file = CreateFileW(partPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileExW(partPath.c_str(), finalPath.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void DumpList(HWND list)
{
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    // How wide each column is, and each cell's text (without the list's padding): what it cuts.
    std::string widths;
    for (int column = 0; column < columns; ++column)
        widths += (column == 0 ? "" : ",") + std::to_string(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
    RECT client = {};
    GetClientRect(list, &client);
    std::string text = "{\"fact\":\"listview\",\"count\":" + std::to_string(count) + ",\"columns\":"
        + std::to_string(columns) + ",\"enabled\":" + (IsWindowEnabled(list) ? "true" : "false")
        + ",\"widths\":[" + widths + "],\"client_width\":" + std::to_string(client.right - client.left) + "}\n";
    for (int row = 0; row < count; ++row) {
        std::string cells;
        std::string textWidths;
        for (int column = 0; column < columns; ++column) {
            wchar_t cell[1024] = {};
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = cell;
            item.cchTextMax = 1023;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            cells += (column == 0 ? "" : ",") + JsonString(cell);
            textWidths += (column == 0 ? "" : ",")
                + std::to_string(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(cell)));
        }
        const bool selected = SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
        text += "{\"fact\":\"row\",\"index\":" + std::to_string(row) + ",\"cells\":[" + cells
            + "],\"text_widths\":[" + textWidths + "],\"selected\":" + (selected ? "true" : "false") + "}\n";
    }
    WriteResult(text);
}

void DumpMenu()
{
    std::string text;
    const HWND popup = FindOpenPopup();
    HMENU menu = nullptr;
    if (popup) {
        menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    }
    const bool fromInit = menu == nullptr && g_lastInitMenu != nullptr;
    if (!menu) {
        menu = g_lastInitMenu;
    }
    if (!menu || !IsMenu(menu)) {
        text += "{\"fact\":\"menu\",\"open\":false}\n";
    } else {
        const int count = GetMenuItemCount(menu);
        const UINT defaultItem = GetMenuDefaultItem(menu, TRUE, 0);
        text += "{\"fact\":\"menu\",\"open\":" + std::string(popup ? "true" : "false")
            + ",\"from_initmenupopup\":" + (fromInit ? "true" : "false") + ",\"count\":" + std::to_string(count)
            + ",\"default\":" + std::to_string(defaultItem == static_cast<UINT>(-1) ? -1 : static_cast<long long>(defaultItem))
            + "}\n";
        for (int i = 0; i < count; ++i) {
            wchar_t caption[256] = {};
            MENUITEMINFOW info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
            info.dwTypeData = caption;
            info.cch = 255;
            GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
            text += "{\"fact\":\"menu-item\",\"index\":" + std::to_string(i) + ",\"id\":" + std::to_string(info.wID)
                + ",\"caption\":" + JsonString(caption)
                + ",\"separator\":" + ((info.fType & MFT_SEPARATOR) ? "true" : "false")
                + ",\"checked\":" + ((info.fState & MFS_CHECKED) ? "true" : "false")
                + ",\"default\":" + ((info.fState & MFS_DEFAULT) ? "true" : "false")
                + ",\"disabled\":" + ((info.fState & MFS_DISABLED) ? "true" : "false")
                + ",\"submenu\":" + (info.hSubMenu ? "true" : "false") + "}\n";
        }
    }
    WriteResult(text);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeCallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        static const UINT dumpMessage = RegisterWindowMessageW(L"Tolvane.MenuProbe.Dump");
        static const UINT dumpListMessage = RegisterWindowMessageW(L"Tolvane.MenuProbe.DumpList");
        if (message->message == WM_INITMENUPOPUP) {
            g_lastInitMenu = reinterpret_cast<HMENU>(message->wParam);
        } else if (message->message == dumpMessage) {
            DumpMenu();
        } else if (message->message == dumpListMessage) {
            DumpList(message->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
