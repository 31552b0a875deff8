#include "FolderPicker.h"

#include <shobjidl.h>

#include "Com.h"
#include "Error.h"
#include "ExplorerLaunch.h"
#include "Handles.h"
#include "LauncherTexts.h"
#include "Win32FolderProbe.h"

namespace launcher {

namespace {

// The text's folder, or the nearest one above it that exists; the user's
// own folder where that would mean asking a server the user is not
// connected to.
std::wstring StartFolder(const std::wstring& text) {
    Win32FolderProbe probe;
    return BrowseStartFolder(text, probe, probe.ExpandVariables(L"%USERPROFILE%"));
}

// Spelled out rather than taken from libuuid, whose one object file holds
// every id Windows defines, tens of KiB (docs/performance.md) for this one.
constexpr CLSID kFileOpenDialog = {0xdc1c5a9c, 0xe88a, 0x4dde, {0xa5, 0xa1, 0x60, 0xf8, 0x2a, 0x20, 0xae, 0xf7}};

std::optional<std::wstring> Refused(HWND owner, HRESULT result) {
    winkit::ShowInformation(owner, Format(TextId::FolderPickerNotOpened, {winkit::SystemMessage(winkit::ErrorOf(result))}),
                            kLauncherCaption);
    return std::nullopt;
}

}  // namespace

std::optional<std::wstring> PickFolder(HWND owner, const std::wstring& text) {
    // ole32 is loaded when the picker is first asked for: as an import it
    // would sit in the resident launcher from its start.
    if (!winkit::Com().Loaded()) return Refused(owner, HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
    const winkit::ComApartment apartment(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    winkit::UniqueCom<IFileOpenDialog> dialog;
    HRESULT result = winkit::Com().createInstance(kFileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IFileOpenDialog),
                                    reinterpret_cast<void**>(dialog.Put()));
    if (FAILED(result)) return Refused(owner, result);
    FILEOPENDIALOGOPTIONS options = 0;
    dialog.Get()->GetOptions(&options);
    dialog.Get()->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR);
    const std::wstring start = StartFolder(text);
    winkit::UniqueCom<IShellItem> startItem;
    if (!start.empty() &&
        SUCCEEDED(SHCreateItemFromParsingName(start.c_str(), nullptr, __uuidof(IShellItem),
                                              reinterpret_cast<void**>(startItem.Put()))))
        dialog.Get()->SetFolder(startItem.Get());
    result = dialog.Get()->Show(owner);
    if (result == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return std::nullopt;
    if (FAILED(result)) return Refused(owner, result);
    winkit::UniqueCom<IShellItem> chosen;
    winkit::UniqueCoTaskMem<wchar_t> path;
    result = dialog.Get()->GetResult(chosen.Put());
    if (SUCCEEDED(result)) result = chosen.Get()->GetDisplayName(SIGDN_FILESYSPATH, path.Put());
    if (FAILED(result)) return Refused(owner, result);
    return std::wstring(path.Get());
}

}  // namespace launcher
