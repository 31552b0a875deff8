#include "DesktopShell.h"

#include <exdisp.h>
#include <shlguid.h>
#include <shobjidl.h>

namespace setup {

namespace {

// What VariantInit makes.
VARIANT EmptyVariant() {
    VARIANT variant{};
    variant.vt = VT_EMPTY;
    return variant;
}

VARIANT TextVariant(const winkit::UniqueBstr& text) {
    VARIANT variant = EmptyVariant();
    variant.vt = VT_BSTR;
    variant.bstrVal = text.Get();
    return variant;
}

}  // namespace

// ole32 and oleaut32 are loaded when an installation is finished: as imports
// they were loaded with every start of Setup, and cost a sixth of the time to
// its window.
DesktopShell::DesktopShell() : m_apartment(COINIT_APARTMENTTHREADED) {}

DesktopShell::~DesktopShell() = default;

// The route the desktop's own window offers: ShellWindows finds the desktop,
// its browser's view hands out the folder view's automation object, and that
// object's Application is the desktop Explorer's IShellDispatch2.
bool DesktopShell::Ask() {
    winkit::UniqueCom<IShellWindows> windows;
    if (!m_apartment.Started()) return false;
    if (FAILED(winkit::Com().createInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                reinterpret_cast<void**>(windows.Put()))))
        return false;
    VARIANT none = EmptyVariant();
    long hwnd = 0;
    winkit::UniqueCom<IDispatch> desktop;
    // S_FALSE, not an error, when there is no desktop window.
    if (windows.Get()->FindWindowSW(&none, &none, SWC_DESKTOP, &hwnd, SWFO_NEEDDISPATCH, desktop.Put()) != S_OK ||
        !desktop)
        return false;
    winkit::UniqueCom<IServiceProvider> services;
    winkit::UniqueCom<IShellBrowser> browser;
    winkit::UniqueCom<IShellView> view;
    winkit::UniqueCom<IDispatch> background;
    winkit::UniqueCom<IShellFolderViewDual> folderView;
    winkit::UniqueCom<IDispatch> application;
    return SUCCEEDED(desktop.Get()->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(services.Put()))) &&
           SUCCEEDED(services.Get()->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                                  reinterpret_cast<void**>(browser.Put()))) &&
           SUCCEEDED(browser.Get()->QueryActiveShellView(view.Put())) &&
           SUCCEEDED(view.Get()->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch,
                                               reinterpret_cast<void**>(background.Put()))) &&
           SUCCEEDED(background.Get()->QueryInterface(IID_IShellFolderViewDual,
                                                      reinterpret_cast<void**>(folderView.Put()))) &&
           SUCCEEDED(folderView.Get()->get_Application(application.Put())) && application &&
           SUCCEEDED(application.Get()->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(m_shell.Put())));
}

bool DesktopShell::Available() {
    if (m_shell) return true;
    // Right after logon (or a restart of the Explorer) the desktop may not
    // have registered its window yet; give it a few seconds before saying
    // there is none.
    for (int attempt = 0; attempt < 30; ++attempt) {
        if (Ask()) return true;
        Sleep(100);
    }
    return false;
}

winkit::Win32Result DesktopShell::Start(const StartCommand& start) {
    if (!Available())
        return winkit::Win32Result::Failure(ERROR_NOT_SUPPORTED, L"No desktop shell to start " + start.programPath);
    const winkit::UniqueBstr file = winkit::ComText(start.programPath);
    const winkit::UniqueBstr folder = winkit::ComText(start.workingFolder);
    const winkit::UniqueBstr verb = winkit::ComText(L"open");
    VARIANT none = EmptyVariant();
    VARIANT show = EmptyVariant();
    show.vt = VT_I4;
    show.lVal = start.showState;
    const HRESULT result =
        m_shell.Get()->ShellExecute(file.Get(), none, TextVariant(folder), TextVariant(verb), show);
    if (FAILED(result)) return winkit::Win32Result::Failure(winkit::ErrorOf(result), L"Could not start " + start.programPath);
    return {};
}

}  // namespace setup
