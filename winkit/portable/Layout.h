#pragma once
// Layout arithmetic in twips (1/1440 inch). Portable so that it is unit-tested natively.
#include <cstddef>
#include <vector>

namespace winkit {

inline constexpr int kTwipsPerInch = 1440;

// Twips to pixels at a DPI, rounded to the nearest pixel.
int TwipsToPixels(int twips, int dpi);
double PixelsToTwips(int pixels, int dpi);

// Left (or Top) of a window centred on the screen: the difference is rounded to a
// whole number with halves going to the even neighbour, then halved with
// truncation toward zero (so an odd difference loses its half twip).
int CentreOffset(double screenTwips, double windowTwips);

enum class ControlKind { Frame, Label, Button, TextBox, CheckBox, OptionButton, HotkeyBox, ListView };

// What Enter and Esc do to a button: the default button answers Enter
// (unless another button has the focus), the cancel button Esc.
// A byte, so that it and the follow flags take the room the role alone took.
enum class ButtonRole : unsigned char { None, Default, Cancel, DefaultAndCancel };

// How a row follows a resizable window whose client area is larger than the
// size its table was made for: flags to combine; 0 stays at the top left.
enum Follow : unsigned char {
    kMovesRight = 1,  // keeps its distance to the right edge
    kWidens = 2,      // keeps both its left and its right distance
    kMovesDown = 4,
    kGrowsDown = 8,
};

// One row of a window's control table; the id names the control. Positions
// are in twips relative to the container: the window itself (kInWindow) or a
// frame, named by its id, so that a row's place in the table decides only
// where it is created, never which frame holds it. A "&" in a caption marks the
// access key of a button, an option, a check box, or of the box a label
// names (the next control in tab order).
inline constexpr int kInWindow = -1;
struct ControlSpec {
    ControlKind kind;
    int id;
    const wchar_t* caption;
    int container;
    int left, top, width, height;
    int tabIndex;
    ButtonRole role = ButtonRole::None;
    unsigned char follow = 0;  // Follow flags
    // With no caption: the number the window's CaptionSource gives a caption
    // for, in the current language (in the padding the two bytes above leave).
    unsigned short text = 0;
};
using CaptionSource = const wchar_t* (*)(unsigned short text);

// The id of the row with the role (either role of DefaultAndCancel counts);
// 0 when there is none.
int DefaultButton(const ControlSpec* table, std::size_t count);
int CancelButton(const ControlSpec* table, std::size_t count);

struct PixelRect {
    int left, top, width, height;
};

struct PixelSize {
    int width, height;
};

// The index of the row with the id; count when there is none.
std::size_t RowOfId(const ControlSpec* table, std::size_t count, int id);

// Where a control lands in the window's client area at a DPI.
PixelRect ControlRect(const ControlSpec* table, std::size_t count, std::size_t index, int dpi);


// Table indices in tab order (TabIndex ascending); creating controls in this order
// makes the window's Z order the tab order.
std::vector<std::size_t> TabOrder(const ControlSpec* table, std::size_t count);

}  // namespace winkit
