#include "DesktopShell.h"

#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shobjidl.h>

#include "Com.h"

namespace setup {

namespace {

// The desktop answers within a second even on a slow machine; an Explorer
// that has not answered in this time is taken to hang. A second thread is
// tried once, for a call lost rather than hung.
constexpr DWORD kAnswerTimeoutMs = 15000;
constexpr int kThreads = 2;

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

// The route the desktop's own window offers: ShellWindows finds the desktop,
// its browser's view hands out the folder view's automation object, and that
// object's Application is the desktop Explorer's IShellDispatch2.
bool Ask(winkit::UniqueCom<IShellDispatch2>& shell) {
    winkit::UniqueCom<IShellWindows> windows;
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
           SUCCEEDED(application.Get()->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(shell.Put())));
}

HRESULT Execute(IShellDispatch2& shell, const StartCommand& start) {
    const winkit::UniqueBstr file = winkit::ComText(start.programPath);
    const winkit::UniqueBstr folder = winkit::ComText(start.workingFolder);
    const winkit::UniqueBstr verb = winkit::ComText(L"open");
    VARIANT none = EmptyVariant();
    VARIANT show = EmptyVariant();
    show.vt = VT_I4;
    show.lVal = start.showState;
    return shell.ShellExecute(file.Get(), none, TextVariant(folder), TextVariant(verb), show);
}

}  // namespace

// What Setup's thread and the shell's thread share. Each side writes its part
// before setting the event the other waits for.
struct DesktopShell::Talk {
    winkit::UniqueKernelHandle asked{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    winkit::UniqueKernelHandle go{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    winkit::UniqueKernelHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    bool available = false;
    const StartCommand* start = nullptr;  // nullptr with go: end without starting anything
    HRESULT result = E_FAIL;

    bool Made() const { return asked && go && done; }

    static DWORD WINAPI Run(void* parameter) {
        Talk& talk = *static_cast<Talk*>(parameter);
        {
            const winkit::ComApartment apartment(COINIT_APARTMENTTHREADED);
            winkit::UniqueCom<IShellDispatch2> shell;
            // Right after logon (or a restart of the Explorer) the desktop may
            // not have registered its window yet; give it a few seconds before
            // saying there is none.
            for (int attempt = 0; apartment.Started() && attempt < 30 && !talk.available; ++attempt) {
                talk.available = Ask(shell);
                if (!talk.available) Sleep(100);
            }
            SetEvent(talk.asked.Get());
            if (talk.available && WaitForSingleObject(talk.go.Get(), INFINITE) == WAIT_OBJECT_0 && talk.start)
                talk.result = Execute(*shell.Get(), *talk.start);
        }
        SetEvent(talk.done.Get());
        return 0;
    }
};

DesktopShell::DesktopShell() = default;

DesktopShell::~DesktopShell() {
    if (!m_thread) return;
    m_talk->start = nullptr;
    SetEvent(m_talk->go.Get());
    Answered(m_talk->done.Get());
}

bool DesktopShell::StartThread() {
    // ole32 and oleaut32 are loaded when an installation is finished: as
    // imports they were loaded with every start of Setup, and cost a sixth of
    // the time to its window. Looked up here, before the thread uses them.
    if (!winkit::Com().Loaded()) return false;
    auto talk = std::make_unique<Talk>();
    if (!talk->Made()) return false;
    m_thread.Reset(CreateThread(nullptr, 0, &Talk::Run, talk.get(), 0, nullptr));
    if (!m_thread) return false;
    m_talk = std::move(talk);
    ++m_threadsStarted;
    return true;
}

bool DesktopShell::Answered(HANDLE event) {
    if (WaitForSingleObject(event, kAnswerTimeoutMs) == WAIT_OBJECT_0) return true;
    // Hung in a call to the Explorer: what the thread may still touch stays.
    static_cast<void>(m_talk.release());
    m_thread.Reset();
    return false;
}

bool DesktopShell::Available() {
    while (!m_asked && m_threadsStarted < kThreads && StartThread()) {
        if (Answered(m_talk->asked.Get())) {
            m_asked = true;
            m_available = m_talk->available;
        }
    }
    return m_available;
}

winkit::Win32Result DesktopShell::Start(const StartCommand& start) {
    if (!Available())
        return winkit::Win32Result::Failure(ERROR_NOT_SUPPORTED, L"No desktop shell to start " + start.programPath);
    m_talk->start = &start;
    SetEvent(m_talk->go.Get());
    if (!Answered(m_talk->done.Get()))
        return winkit::Win32Result::Failure(ERROR_TIMEOUT, L"The desktop did not answer when asked to start " +
                                                               start.programPath);
    m_available = false;  // the thread has ended
    if (FAILED(m_talk->result))
        return winkit::Win32Result::Failure(winkit::ErrorOf(m_talk->result), L"Could not start " + start.programPath);
    return {};
}

}  // namespace setup
