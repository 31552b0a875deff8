#pragma once
// The control table of Setup's window: what each control is, which frame
// holds it (by the frame's id), where it sits in twips, where Tab reaches it
// and which text it shows (SetupTexts.h, in the language chosen at start).
#include <cstddef>
#include <iterator>

#include "InstallConstants.h"
#include "Layout.h"
#include "SetupTexts.h"

namespace setup::dialog {

using winkit::ButtonRole;
using winkit::ControlKind;
using winkit::ControlSpec;
using winkit::kInWindow;

// German sentences run about a third longer than English ones, and the title
// "Tolvane - Installation" has to fit beside the caption buttons: the window
// is wider by this, its controls with it, and the buttons stay in the middle.
inline constexpr int kWidening = 1500;
inline constexpr int kClientWidth = 2250 + kWidening;
inline constexpr int kClientHeight = 4185;
inline constexpr int kLineWidth = 2055 + kWidening;
inline constexpr int kCentred = kWidening / 2;
// Not IDOK or IDCANCEL: Esc arrives as IDCANCEL and presses the button with
// the cancel role, Exit; Enter presses the focused button, else the one with
// the default role, Install. Without that role IsDialogMessage found no
// default and sent IDOK, which no control has, so Enter in the folder box did
// nothing.
enum ControlId {
    kWelcomeLabel = 1001,
    kInstallFrame,
    kUninstallFrame,
    kInstallButton,
    kUninstallLabel,
    kUninstallButton,
    kExitButton,
    kAutostartCheck,
    kFolderEdit,
    kFolderLabel,
};

// A row showing one of Setup's texts.
constexpr ControlSpec Row(ControlKind kind, int id, TextId text, int frame, int left, int top, int width, int height,
                          int tab, ButtonRole role = ButtonRole::None) {
    return {kind, id, nullptr, frame, left, top, width, height, tab, role, 0, static_cast<unsigned short>(text)};
}

// Tab follows the layout from top to bottom; the folder label shows the
// access key of the box after it. The labels of the welcome and of the
// uninstallation wrap, into three lines and two.
inline constexpr ControlSpec kControls[] = {
    // kind, id, text, frame, left, top, width, height, tab index
    Row(ControlKind::Label, kWelcomeLabel, TextId::Welcome, kInWindow, 45, 45, 2130 + kWidening, 615, 0),
    Row(ControlKind::Frame, kInstallFrame, TextId::InstallFrame, kInWindow, 0, 720, kClientWidth, 1560, 1),
    Row(ControlKind::Frame, kUninstallFrame, TextId::UninstallFrame, kInWindow, 0, 2400, kClientWidth, 1215, 6),
    Row(ControlKind::Button, kInstallButton, TextId::InstallButton, kInstallFrame, 240 + kCentred, 1080, 1695, 375, 5,
        ButtonRole::Default),
    Row(ControlKind::Label, kUninstallLabel, TextId::UninstallLabel, kUninstallFrame, 120, 240, kLineWidth, 420, 7),
    Row(ControlKind::Button, kUninstallButton, TextId::UninstallButton, kUninstallFrame, 240 + kCentred, 720, 1695,
        375, 8),
    Row(ControlKind::Button, kExitButton, TextId::ExitButton, kInWindow, 405 + kCentred, 3720, 1335, 375, 9,
        ButtonRole::Cancel),
    Row(ControlKind::CheckBox, kAutostartCheck, TextId::Autostart, kInstallFrame, 120, 240, kLineWidth, 255, 2),
    {ControlKind::TextBox, kFolderEdit, kInitialFolderText, kInstallFrame, 120, 720, kLineWidth, 285, 4},
    Row(ControlKind::Label, kFolderLabel, TextId::FolderLabel, kInstallFrame, 120, 480, kLineWidth, 255, 3),
};
inline constexpr std::size_t kControlCount = std::size(kControls);

}  // namespace setup::dialog
