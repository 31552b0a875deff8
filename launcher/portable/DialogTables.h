#pragma once
// The control tables of the launcher's four windows: what each control is,
// which frame holds it (by the frame's id), where it sits in twips, where Tab
// reaches it and which text it shows (LauncherTexts.h, in the language chosen
// at start). German captions run about a third longer than English ones; the
// controls are wide enough for either.
#include <cstddef>
#include <iterator>

#include "Layout.h"
#include "LauncherTexts.h"
#include "WindowModes.h"

namespace launcher {

using winkit::ButtonRole;
using winkit::ControlKind;
using winkit::ControlSpec;
using winkit::kGrowsDown;
using winkit::kInWindow;
using winkit::kMovesDown;
using winkit::kMovesRight;
using winkit::kWidens;

// A row showing one of the launcher's texts; kNoText for a box the program fills.
inline constexpr TextId kNoText = TextId::Count;
constexpr ControlSpec Row(ControlKind kind, int id, TextId text, int frame, int left, int top, int width, int height,
                          int tab, ButtonRole role = ButtonRole::None, unsigned char follow = 0) {
    return {kind,  id,   text == kNoText ? L"" : nullptr, frame, left, top, width, height, tab, role, follow,
            static_cast<unsigned short>(text)};
}

namespace about {

inline constexpr int kClientWidth = 3180;
inline constexpr int kClientHeight = 2400;

enum ControlId {
    kOkButton = 1,  // IDOK: Enter and Esc of a dialog
    kAboutFrame = 1001,
    kCreditLabel,
    kMakerLabel,
    kContactLabel,
    kWebLabel,
    kVersionLabel,
    kDateLabel,
};

inline constexpr ControlSpec kControls[] = {
    // kind, id, text, frame, left, top, width, height, tab index
    Row(ControlKind::Frame, kAboutFrame, TextId::AboutFrame, kInWindow, 50, 0, 3080, 1890, 0),
    Row(ControlKind::Label, kCreditLabel, TextId::AboutWrittenBy, kAboutFrame, 120, 240, 1455, 255, 1),
    Row(ControlKind::Label, kMakerLabel, TextId::AboutMaker, kAboutFrame, 120, 520, 1455, 255, 2),
    Row(ControlKind::Label, kContactLabel, TextId::AboutContact, kAboutFrame, 120, 765, 2895, 255, 5),
    Row(ControlKind::Label, kWebLabel, TextId::AboutWeb, kAboutFrame, 120, 1020, 2415, 255, 6),
    Row(ControlKind::Label, kVersionLabel, TextId::AboutVersion, kAboutFrame, 120, 1320, 2055, 255, 3),
    Row(ControlKind::Label, kDateLabel, TextId::AboutDate, kAboutFrame, 120, 1560, 2055, 255, 4),
    Row(ControlKind::Button, kOkButton, TextId::Ok, kInWindow, 1080, 1950, 1095, 375, 7,
     ButtonRole::DefaultAndCancel),
};

}  // namespace about

namespace settings {

// Browse beside the folder box and Favourites beside Cancel widen the window,
// and the hotkey's note with it, which fits its line then.
inline constexpr int kWidening = 840;
inline constexpr int kClientWidth = 3765 + kWidening;
// The Hotkey group below the folder's moves Save, Cancel and the bottom edge down.
inline constexpr int kHotkeyGroupHeight = 930;
inline constexpr int kClientHeight = 2745 + kHotkeyGroupHeight;
inline constexpr int kButtonsTop = 2280 + kHotkeyGroupHeight;
inline constexpr int kFrameWidth = 3720 + kWidening;
inline constexpr int kLineWidth = 3495 + kWidening;

// Away from IDOK/IDCANCEL: Enter and Esc reach Save and Cancel through their
// roles in the table.
enum ControlId {
    kModeFrame = 2001,
    kModeLabel,
    kFirstModeOption = 2010,  // one per entry of kWindowModes, in order
    kSaveButton = 2020,
    kCancelButton,
    kFolderFrame = 2030,
    kFolderLabel,
    kFolderEdit,
    kBrowseButton,
    kFavouritesButton,
    kHotkeyFrame = 2040,
    kHotkeyLabel,
    kHotkeyBox,
    kWindowsKeyCheck,
    kHotkeyNote,
    kWindowsKeyShown,
};

inline constexpr ControlSpec kControls[] = {
    // kind, id, text, frame, left, top, width, height, tab index
    Row(ControlKind::Frame, kModeFrame, TextId::ModeFrame, kInWindow, 20, 0, kFrameWidth, 1485, 0),
    Row(ControlKind::Label, kModeLabel, TextId::ModeLabel, kModeFrame, 120, 240, kLineWidth, 255, 1),
    Row(ControlKind::OptionButton, kFirstModeOption + 0, kWindowModes[0].caption, kModeFrame, 120, 480, kLineWidth, 255, 2),
    Row(ControlKind::OptionButton, kFirstModeOption + 1, kWindowModes[1].caption, kModeFrame, 120, 720, kLineWidth, 255, 3),
    Row(ControlKind::OptionButton, kFirstModeOption + 2, kWindowModes[2].caption, kModeFrame, 120, 960, kLineWidth, 255, 4),
    Row(ControlKind::OptionButton, kFirstModeOption + 3, kWindowModes[3].caption, kModeFrame, 120, 1200, kLineWidth, 255, 5),
    // Tab goes from top to bottom: the modes, the folder, the hotkey, then the buttons.
    Row(ControlKind::Button, kSaveButton, TextId::Save, kInWindow, 720, kButtonsTop, 1000, 375, 16,
     ButtonRole::Default),
    Row(ControlKind::Button, kCancelButton, TextId::Cancel, kInWindow, 1920, kButtonsTop, 1000, 375, 17,
     ButtonRole::Cancel),
    Row(ControlKind::Frame, kFolderFrame, TextId::FolderFrame, kInWindow, 20, 1560, kFrameWidth, 615, 6),
    Row(ControlKind::Label, kFolderLabel, TextId::PathLabel, kFolderFrame, 120, 280, 480, 255, 7),
    Row(ControlKind::TextBox, kFolderEdit, kNoText, kFolderFrame, 600, 240, 2490, 285, 8),
    Row(ControlKind::Button, kBrowseButton, TextId::Browse, kFolderFrame, 3150, 210, 1290, 345, 9),
    Row(ControlKind::Frame, kHotkeyFrame, TextId::HotkeyFrame, kInWindow, 20, 2250, kFrameWidth, 855, 10),
    Row(ControlKind::Label, kHotkeyLabel, TextId::KeysLabel, kHotkeyFrame, 120, 280, 720, 255, 11),
    Row(ControlKind::HotkeyBox, kHotkeyBox, kNoText, kHotkeyFrame, 840, 240, 1755, 285, 12),
    // In the box's place, greyed, while "Use Win+E" is checked.
    Row(ControlKind::TextBox, kWindowsKeyShown, TextId::WindowsKeyShown, kHotkeyFrame, 840, 240, 1755, 285,
        13),
    Row(ControlKind::CheckBox, kWindowsKeyCheck, TextId::UseWindowsKey, kHotkeyFrame, 2700, 255, 1740, 255, 14),
    Row(ControlKind::Label, kHotkeyNote, kNoText, kHotkeyFrame, 120, 570, kLineWidth, 255, 15),
    Row(ControlKind::Button, kFavouritesButton, TextId::FavouritesButton, kInWindow, 3440, kButtonsTop, 1020, 375,
     18),
};

}  // namespace settings

namespace favourites {

// The smallest size, as made: the dialog follows a larger one.
inline constexpr int kClientWidth = 9600;
inline constexpr int kClientHeight = 4575;

enum ControlId {
    kListLabel = 4001,
    kList,
    kAddButton,
    kEditButton,
    kRemoveButton,
    kUpButton,
    kDownButton,
    kNote,
    kOkButton,
    kCancelButton,
    kOkNote,
};

inline constexpr ButtonRole kNoRole = ButtonRole::None;

inline constexpr ControlSpec kControls[] = {
    // kind, id, text, frame, left, top, width, height, tab index, role, follows the window's size
    Row(ControlKind::Label, kListLabel, TextId::FavouritesLabel, kInWindow, 120, 120, 3000, 255, 0),
    Row(ControlKind::ListView, kList, kNoText, kInWindow, 120, 375, 8040, 3000, 1, kNoRole, kWidens | kGrowsDown),
    Row(ControlKind::Button, kAddButton, TextId::Add, kInWindow, 8280, 375, 1200, 375, 2, kNoRole, kMovesRight),
    Row(ControlKind::Button, kEditButton, TextId::Edit, kInWindow, 8280, 825, 1200, 375, 3, kNoRole, kMovesRight),
    Row(ControlKind::Button, kRemoveButton, TextId::Remove, kInWindow, 8280, 1275, 1200, 375, 4, kNoRole,
     kMovesRight),
    Row(ControlKind::Button, kUpButton, TextId::MoveUp, kInWindow, 8280, 1875, 1200, 375, 5, kNoRole, kMovesRight),
    Row(ControlKind::Button, kDownButton, TextId::MoveDown, kInWindow, 8280, 2325, 1200, 375, 6, kNoRole,
     kMovesRight),
    Row(ControlKind::Label, kNote, kNoText, kInWindow, 120, 3495, 8040, 480, 7, kNoRole, kWidens | kMovesDown),
    // Settings' Cancel comes later and might be taken to undo this too.
    Row(ControlKind::Label, kOkNote, TextId::OkStoresAtOnce, kInWindow, 120, 4140, 6720, 255, 8, kNoRole,
     kWidens | kMovesDown),
    Row(ControlKind::Button, kOkButton, TextId::Ok, kInWindow, 6960, 4080, 1200, 375, 9, ButtonRole::Default,
     kMovesRight | kMovesDown),
    Row(ControlKind::Button, kCancelButton, TextId::Cancel, kInWindow, 8280, 4080, 1200, 375, 10,
     ButtonRole::Cancel, kMovesRight | kMovesDown),
};

}  // namespace favourites

namespace favourite {

inline constexpr int kClientWidth = 5400;
inline constexpr int kClientHeight = 3750;

enum ControlId {
    kNameLabel = 3001,
    kNameEdit,
    kFolderLabel,
    kFolderEdit,
    kBrowseButton,
    kModeFrame,
    kFirstModeOption = 3010,  // one per entry of kWindowModes, in order
    kHotkeyLabel = 3020,
    kHotkeyBox,
    kHotkeyNote,
    kOkButton,
    kCancelButton,
};

inline constexpr ControlSpec kControls[] = {
    // kind, id, text, frame, left, top, width, height, tab index
    Row(ControlKind::Label, kNameLabel, TextId::NameLabel, kInWindow, 120, 165, 900, 255, 0),
    Row(ControlKind::TextBox, kNameEdit, kNoText, kInWindow, 1080, 120, 4200, 285, 1),
    Row(ControlKind::Label, kFolderLabel, TextId::FavouriteFolderLabel, kInWindow, 120, 570, 900, 255, 2),
    Row(ControlKind::TextBox, kFolderEdit, kNoText, kInWindow, 1080, 525, 2820, 285, 3),
    Row(ControlKind::Button, kBrowseButton, TextId::Browse, kInWindow, 3990, 495, 1290, 345, 4),
    Row(ControlKind::Frame, kModeFrame, TextId::FavouriteModeFrame, kInWindow, 120, 960, 5160, 1290, 5),
    Row(ControlKind::OptionButton, kFirstModeOption + 0, kWindowModes[0].caption, kModeFrame, 120, 240, 3000, 255, 6),
    Row(ControlKind::OptionButton, kFirstModeOption + 1, kWindowModes[1].caption, kModeFrame, 120, 480, 3000, 255, 7),
    Row(ControlKind::OptionButton, kFirstModeOption + 2, kWindowModes[2].caption, kModeFrame, 120, 720, 3000, 255, 8),
    Row(ControlKind::OptionButton, kFirstModeOption + 3, kWindowModes[3].caption, kModeFrame, 120, 960, 3000, 255, 9),
    Row(ControlKind::Label, kHotkeyLabel, TextId::KeysLabel, kInWindow, 120, 2445, 900, 255, 10),
    Row(ControlKind::HotkeyBox, kHotkeyBox, kNoText, kInWindow, 1080, 2400, 1695, 285, 11),
    Row(ControlKind::Label, kHotkeyNote, kNoText, kInWindow, 120, 2760, 5160, 255, 12),
    Row(ControlKind::Button, kOkButton, TextId::Ok, kInWindow, 3120, 3255, 1020, 375, 13, ButtonRole::Default),
    Row(ControlKind::Button, kCancelButton, TextId::Cancel, kInWindow, 4260, 3255, 1020, 375, 14,
     ButtonRole::Cancel),
};

}  // namespace favourite

// One window's rows as the tests take them.
struct DialogTable {
    const char* name;
    const ControlSpec* rows;
    std::size_t count;
    int clientWidth;
    int clientHeight;
};

inline constexpr DialogTable kDialogTables[] = {
    {"About", about::kControls, std::size(about::kControls), about::kClientWidth, about::kClientHeight},
    {"Settings", settings::kControls, std::size(settings::kControls), settings::kClientWidth, settings::kClientHeight},
    {"Favourite folders", favourites::kControls, std::size(favourites::kControls), favourites::kClientWidth,
     favourites::kClientHeight},
    {"Favourite folder", favourite::kControls, std::size(favourite::kControls), favourite::kClientWidth,
     favourite::kClientHeight},
};

}  // namespace launcher
