// Every caption of the launcher's four windows fits its control at 96 and 144
// DPI in English and German, measured in the font the windows use.
#include <windows.h>

#include "MiniTest.h"

#include <string>

#include "Controls.h"
#include "DialogTables.h"
#include "Handles.h"
#include "LauncherTexts.h"

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
        for (const launcher::Language language : {launcher::Language::English, launcher::Language::German}) {
            for (const launcher::DialogTable& table : launcher::kDialogTables) {
                for (std::size_t index = 0; index < table.count; ++index) {
                    const launcher::ControlSpec& row = table.rows[index];
                    const std::wstring text = Drawn(
                        row.caption != nullptr ? row.caption
                                               : launcher::TextIn(language, static_cast<launcher::TextId>(row.text)));
                    if (text.empty()) continue;
                    SIZE size{};
                    GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &size);
                    const winkit::PixelRect rect = winkit::ControlRect(table.rows, table.count, index, dpi);
                    const int room = rect.width - MulDiv(Beside(row.kind), dpi, 96);
                    EXPECT_TRUE(size.cx > 0 && size.cx <= room && size.cy <= rect.height)
                        << table.name << text << dpi << size.cx << room << size.cy << rect.height << std::wstring(face);
                }
            }
        }
        SelectObject(screen.Get(), previous);
    }
}
