#include "Controls.h"

#include <commctrl.h>

#include <utility>

#include "SystemFunction.h"

namespace winkit {

namespace {

// Both functions exist only from Windows 10 1607 on; older systems get the
// system-wide DPI.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

UINT SystemDpi() {
    const UniqueScreenDc screen(GetDC(nullptr));
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 96;
    return dpi > 0 ? static_cast<UINT>(dpi) : 96u;
}

struct ClassAndStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle StyleFor(const ControlSpec& row, bool startsGroup) {
    const DWORD group = startsGroup ? WS_GROUP : 0;
    switch (row.kind) {
    case ControlKind::Frame:
        return {L"BUTTON", BS_GROUPBOX | group, 0};
    case ControlKind::Label:
        // A "&" marks the access key of the box the label names.
        return {L"STATIC", SS_LEFT | group, 0};
    case ControlKind::Button: {
        const bool isDefault = row.role == ButtonRole::Default || row.role == ButtonRole::DefaultAndCancel;
        return {L"BUTTON", (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP | group, 0};
    }
    case ControlKind::TextBox:
        return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | group, WS_EX_CLIENTEDGE};
    case ControlKind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | group, 0};
    case ControlKind::HotkeyBox:
        // comctl32's controls; the program makes sure the class is registered.
        return {L"msctls_hotkey32", WS_TABSTOP | group, WS_EX_CLIENTEDGE};
    case ControlKind::ListView:
        return {L"SysListView32", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP | group,
                WS_EX_CLIENTEDGE};
    case ControlKind::OptionButton:
        // Only the first button of a run is a tab stop; arrows move inside the group.
        return {L"BUTTON", BS_AUTORADIOBUTTON | (startsGroup ? WS_TABSTOP : 0) | group, 0};
    }
    return {L"STATIC", 0, 0};
}

}  // namespace

bool RegisterCommonControls(DWORD classes) {
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = SystemFunction<InitFn>(L"comctl32.dll", "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX wanted{sizeof(INITCOMMONCONTROLSEX), classes};
    return init != nullptr && init(&wanted) != FALSE;
}

UINT WindowDpi(HWND hwnd) {
    static const auto getDpiForWindow = LoadedFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow != nullptr && hwnd != nullptr) {
        const UINT dpi = getDpiForWindow(hwnd);
        if (dpi != 0) return dpi;
    }
    return SystemDpi();
}

namespace {

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontInstalled(const wchar_t* face) {
    const UniqueScreenDc screen(GetDC(nullptr));
    if (!screen) return false;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(screen.Get(), &query, &NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The layouts were measured in MS Sans Serif. "MS Shell Dlg" maps to a wider
// face on some systems (Tahoma under Wine) and clips fixed captions, so ask for
// the scalable Microsoft Sans Serif, or the older name where only that exists.
const wchar_t* DialogFace() {
    static const wchar_t* face = FontInstalled(L"Microsoft Sans Serif") ? L"Microsoft Sans Serif"
                                 : FontInstalled(L"MS Sans Serif")      ? L"MS Sans Serif"
                                                                        : L"MS Shell Dlg";
    return face;
}

}  // namespace

UniqueFont CreateDialogFont(UINT dpi) {
    return UniqueFont(CreateFontW(-MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                  FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, DialogFace()));
}

namespace {

// Outer window size for a client area given in twips at the window's DPI.
SIZE OuterSizeForClientTwips(HWND hwnd, int widthTwips, int heightTwips, UINT dpi) {
    RECT rect{0, 0, TwipsToPixels(widthTwips, static_cast<int>(dpi)),
              TwipsToPixels(heightTwips, static_cast<int>(dpi))};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    const BOOL hasMenu = FALSE;  // the tray menu is never a menu bar
    static const auto adjustForDpi = LoadedFunction<AdjustWindowRectExForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (adjustForDpi != nullptr)
        adjustForDpi(&rect, style, hasMenu, exStyle, dpi);
    else
        AdjustWindowRectEx(&rect, style, hasMenu, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

void SizeAndCentre(HWND hwnd, int clientWidthTwips, int clientHeightTwips) {
    const UINT dpi = WindowDpi(hwnd);
    const SIZE outer = OuterSizeForClientTwips(hwnd, clientWidthTwips, clientHeightTwips, dpi);
    const int idpi = static_cast<int>(dpi);
    const int left = CentreOffset(PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), idpi),
                                  PixelsToTwips(outer.cx, idpi));
    const int top = CentreOffset(PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), idpi),
                                 PixelsToTwips(outer.cy, idpi));
    SetWindowPos(hwnd, nullptr, TwipsToPixels(left, idpi), TwipsToPixels(top, idpi), outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlSet::Create(HWND parent, const ControlSpec* table, std::size_t count, CaptionSource captions) {
    m_table = table;
    m_count = count;
    m_windows.assign(count, nullptr);
    const UINT dpi = WindowDpi(parent);
    m_font = CreateDialogFont(dpi);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    ControlKind previous = ControlKind::Frame;
    bool first = true;
    for (std::size_t index : TabOrder(table, count)) {
        const ControlSpec& row = table[index];
        const bool startsGroup =
            first || row.kind != ControlKind::OptionButton || previous != ControlKind::OptionButton;
        const ClassAndStyle cs = StyleFor(row, startsGroup);
        const PixelRect rect = ControlRect(table, count, index, static_cast<int>(dpi));
        const wchar_t* caption = row.caption != nullptr ? row.caption : captions != nullptr ? captions(row.text) : L"";
        HWND control = CreateWindowExW(cs.exStyle, cs.className, caption,
                                       WS_CHILD | WS_VISIBLE | cs.style, rect.left, rect.top, rect.width,
                                       rect.height, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance,
                                       nullptr);
        if (control != nullptr) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
            // Text boxes hold paths of any length; the default limit is 32,767.
            if (row.kind == ControlKind::TextBox) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
        }
        m_windows[index] = control;
        previous = row.kind;
        first = false;
    }
}

void ControlSet::Relayout(UINT dpi) {
    if (!Created()) return;
    // The old font is deleted only once no control uses it any more.
    UniqueFont font = CreateDialogFont(dpi);
    for (std::size_t index = 0; index < m_count; ++index) {
        HWND control = m_windows[index];
        if (control == nullptr) continue;
        const PixelRect rect = ControlRect(m_table, m_count, index, static_cast<int>(dpi));
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    }
    m_font = std::move(font);
}

HWND ControlSet::Get(int id) const {
    for (std::size_t index = 0; index < m_count; ++index)
        if (m_table[index].id == id) return m_windows[index];
    return nullptr;
}

const ControlSpec* ControlSet::Row(HWND control) const {
    for (std::size_t index = 0; index < m_count; ++index)
        if (control != nullptr && m_windows[index] == control) return &m_table[index];
    return nullptr;
}

bool ControlSet::IsOption(HWND control) const {
    const ControlSpec* row = Row(control);
    return row != nullptr && row->kind == ControlKind::OptionButton;
}

// The options of one container form one group.
void ControlSet::UpdateOptionTabStops() {
    for (std::size_t index = 0; index < m_count; ++index) {
        if (m_table[index].kind != ControlKind::OptionButton) continue;
        HWND stop = nullptr;
        for (std::size_t other = 0; other < m_count; ++other) {
            if (m_table[other].kind != ControlKind::OptionButton ||
                m_table[other].container != m_table[index].container)
                continue;
            if (stop == nullptr) stop = m_windows[other];
            if (SendMessageW(m_windows[other], BM_GETCHECK, 0, 0) == BST_CHECKED) {
                stop = m_windows[other];
                break;
            }
        }
        HWND option = m_windows[index];
        const LONG_PTR style = GetWindowLongPtrW(option, GWL_STYLE);
        SetWindowLongPtrW(option, GWL_STYLE,
                          option == stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
    }
}

void ControlSet::SelectOption(HWND option) {
    const ControlSpec* selected = Row(option);
    if (selected == nullptr || selected->kind != ControlKind::OptionButton) return;
    for (std::size_t index = 0; index < m_count; ++index) {
        if (m_table[index].kind == ControlKind::OptionButton && m_table[index].container == selected->container)
            SendMessageW(m_windows[index], BM_SETCHECK, m_windows[index] == option ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    UpdateOptionTabStops();
}

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

}  // namespace winkit
