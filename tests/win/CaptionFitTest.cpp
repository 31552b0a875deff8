// Every caption of the launcher's four windows and of Setup's fits its control
// at 96 and 144 DPI in English and German, measured in the font the windows
// use; a label taller than a line wraps its text at word breaks, as its
// static control does.
#include <windows.h>

#include "MiniTest.h"

#include <string>
#include <vector>

#include "Controls.h"
#include "DialogTables.h"
#include "Handles.h"
#include "LauncherTexts.h"
#include "SetupDialogTable.h"
#include "SetupTexts.h"

namespace {

// The caption as drawn: "&" marks the access key, "&&" is one ampersand.
std::wstring Drawn(const wchar_t* caption) {
    std::wstring drawn;
    for (const wchar_t* at = caption; *at != L'\0'; ++at)
        if (*at != L'&' || *++at != L'\0') drawn += *at;
    return drawn;
}

// What a control needs beside its text, in pixels at 96 DPI: a button's
// edges, the box or circle before a check box's or an option's text, a
// frame's caption indent on both sides, a text box's border and margins.
int Beside(launcher::ControlKind kind) {
    switch (kind) {
    case launcher::ControlKind::Button:
        return 8;
    case launcher::ControlKind::CheckBox:
    case launcher::ControlKind::OptionButton:
        return 18;
    case launcher::ControlKind::Frame:
        return 16;
    case launcher::ControlKind::TextBox:
        return 8;
    default:
        return 0;
    }
}

struct Window {
    launcher::DialogTable table;
    const wchar_t* (*caption)(launcher::Language language, unsigned short text);
};

std::vector<Window> EveryWindow() {
    std::vector<Window> windows;
    for (const launcher::DialogTable& table : launcher::kDialogTables)
        windows.push_back({table, [](launcher::Language language, unsigned short text) {
                               return launcher::TextIn(language, static_cast<launcher::TextId>(text));
                           }});
    windows.push_back({{"Setup", setup::dialog::kControls, setup::dialog::kControlCount, setup::dialog::kClientWidth,
                        setup::dialog::kClientHeight},
                       [](launcher::Language language, unsigned short text) {
                           return setup::TextIn(language, static_cast<setup::TextId>(text));
                       }});
    return windows;
}

// The text's size as drawn into the room: one line, or the lines a label
// wraps it into.
SIZE Measured(HDC dc, const std::wstring& text, launcher::ControlKind kind, int room, int lineHeight, int height) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (kind != launcher::ControlKind::Label || 2 * height < 3 * lineHeight) return size;
    RECT wrapped{0, 0, room, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return {wrapped.right, wrapped.bottom};
}

}  // namespace

TEST(DialogCaptions, FitTheirControlsAt96And144DpiInBothLanguages) {
    const winkit::UniqueScreenDc screen(GetDC(nullptr));
    ASSERT_TRUE(screen);
    for (const int dpi : {96, 144}) {
        const winkit::UniqueFont font = winkit::CreateDialogFont(static_cast<UINT>(dpi));
        ASSERT_TRUE(font);
        const HGDIOBJ previous = SelectObject(screen.Get(), font.Get());
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(screen.Get(), LF_FACESIZE, face);
        TEXTMETRICW line{};
        GetTextMetricsW(screen.Get(), &line);
        for (const launcher::Language language : {launcher::Language::English, launcher::Language::German}) {
            for (const auto& [table, caption] : EveryWindow()) {
                for (std::size_t index = 0; index < table.count; ++index) {
                    const launcher::ControlSpec& row = table.rows[index];
                    const std::wstring text = Drawn(row.caption != nullptr ? row.caption : caption(language, row.text));
                    if (text.empty()) continue;
                    const winkit::PixelRect rect = winkit::ControlRect(table.rows, table.count, index, dpi);
                    const int room = rect.width - MulDiv(Beside(row.kind), dpi, 96);
                    const SIZE size = Measured(screen.Get(), text, row.kind, room, line.tmHeight, rect.height);
                    EXPECT_TRUE(size.cx > 0 && size.cx <= room && size.cy <= rect.height)
                        << table.name << text << dpi << size.cx << room << size.cy << rect.height << std::wstring(face);
                }
            }
        }
        SelectObject(screen.Get(), previous);
    }
}
