#include <gtest/gtest.h>

#include "CommandLine.h"
#include "Layout.h"
#include "Sizing.h"

#include <iterator>
#include <tuple>

using namespace winkit;

TEST(Centring, HalvesTheRoundedDifferenceTowardZero) {
    struct Case {
        double screen, window;
        int expected;
    } cases[] = {
        {12000, 3000, 4500},    // even difference
        {12000, 2999, 4500},    // odd difference loses its half twip
        {12000, 3001, 4499},
        {3000, 3005, -2},       // window 5 twips wider than the screen: -2, not -3
        {3000, 3006, -3},
        {3000, 3000, 0},
        {100.5, 0, 50},         // 100.5 rounds to the even 100
        {101.5, 0, 51},         // 101.5 rounds to the even 102
        {100.4, 0, 50},
        {0, 1.5, -1},           // -1.5 rounds to -2, halved to -1
        {0, 2.5, -1},           // -2.5 rounds to -2
    };
    for (const auto& c : cases)
        EXPECT_EQ(CentreOffset(c.screen, c.window), c.expected) << c.screen << " - " << c.window;
}

TEST(Twips, ScaleAtCommonDpis) {
    EXPECT_EQ(TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(TwipsToPixels(3180, 96), 212);
    EXPECT_EQ(TwipsToPixels(3180, 144), 318);
    EXPECT_EQ(TwipsToPixels(255, 96), 17);
    EXPECT_EQ(TwipsToPixels(7, 96), 0);   // 0.47 px
    EXPECT_EQ(TwipsToPixels(8, 96), 1);   // 0.53 px
    EXPECT_EQ(TwipsToPixels(-45, 96), -3);
    EXPECT_DOUBLE_EQ(PixelsToTwips(800, 96), 12000.0);
    EXPECT_DOUBLE_EQ(PixelsToTwips(800, 144), 8000.0);
}

TEST(ControlLayout, PositionsAreRelativeToTheirFrame) {
    const ControlSpec table[] = {
        {ControlKind::Frame, 1, L"F", kInWindow, 20, 1560, 3720, 615, 8},
        {ControlKind::TextBox, 2, L"", 1, 600, 240, 3015, 285, 10},
        {ControlKind::Button, 3, L"B", kInWindow, 720, 2280, 1000, 375, 6},
    };
    const PixelRect text = ControlRect(table, 3, 1, 96);
    EXPECT_EQ(text.left, 41);   // (20 + 600) twips
    EXPECT_EQ(text.top, 120);   // (1560 + 240) twips
    EXPECT_EQ(text.width, 201);
    EXPECT_EQ(text.height, 19);
    const PixelRect at144 = ControlRect(table, 3, 1, 144);
    EXPECT_EQ(at144.left, 62);
    EXPECT_EQ(at144.top, 180);
    EXPECT_EQ(TabOrder(table, 3), (std::vector<std::size_t>{2, 0, 1}));
}

TEST(ControlLayout, NestedFramesAddUpAllTheirOffsets) {
    // The box names its frame by id: the rows' order does not decide it.
    const ControlSpec table[] = {
        {ControlKind::Frame, 1, L"O", kInWindow, 120, 240, 4000, 3000, 0},
        {ControlKind::TextBox, 3, L"", 2, 120, 300, 1500, 285, 2},
        {ControlKind::Frame, 2, L"I", 1, 240, 360, 3000, 2000, 1},
    };
    struct Case {
        int dpi;
        PixelRect expected;  // (120 + 240 + 120, 240 + 360 + 300) twips
    } cases[] = {
        {96, {32, 60, 100, 19}},
        {144, {48, 90, 150, 29}},
    };
    for (const auto& c : cases) {
        const PixelRect r = ControlRect(table, 3, 1, c.dpi);
        EXPECT_EQ((std::vector<int>{r.left, r.top, r.width, r.height}),
                  (std::vector<int>{c.expected.left, c.expected.top, c.expected.width, c.expected.height}))
            << c.dpi << " DPI";
    }
}

TEST(ControlLayout, AdjacentControlsKeepTheirGapAtAnyDpi) {
    // 1000 twips is a fraction of a pixel at most DPIs: a size rounded on its
    // own would overlap or part from the neighbour the table puts against it.
    const ControlSpec table[] = {
        {ControlKind::Label, 1, L"", kInWindow, 1000, 1000, 1000, 1000, 0},
        {ControlKind::Label, 2, L"", kInWindow, 2000, 1000, 1000, 1000, 1},
        {ControlKind::Label, 3, L"", kInWindow, 1000, 2000, 1000, 1000, 2},
    };
    for (int dpi : {96, 120, 144, 168, 192}) {
        const PixelRect a = ControlRect(table, 3, 0, dpi);
        const PixelRect right = ControlRect(table, 3, 1, dpi);
        const PixelRect below = ControlRect(table, 3, 2, dpi);
        EXPECT_EQ(a.left + a.width, right.left) << dpi << " DPI";
        EXPECT_EQ(a.top + a.height, below.top) << dpi << " DPI";
    }
}

TEST(ControlLayout, RowsFollowAResizedWindowByTheirFlags) {
    using R = ButtonRole;
    const ControlSpec table[] = {
        {ControlKind::Label, 1, L"", kInWindow, 120, 120, 3000, 255, 0},
        {ControlKind::ListView, 2, L"", kInWindow, 120, 375, 6240, 3000, 1, R::None, kWidens | kGrowsDown},
        {ControlKind::Button, 3, L"", kInWindow, 6480, 375, 1200, 375, 2, R::None, kMovesRight},
        {ControlKind::Label, 4, L"", kInWindow, 120, 3495, 6240, 480, 3, R::None, kWidens | kMovesDown},
        {ControlKind::Button, 5, L"", kInWindow, 6480, 4080, 1200, 375, 4, R::Cancel, kMovesRight | kMovesDown},
    };
    // The client area beyond the table's 7800 x 4575 twips; never less than nothing.
    const std::tuple<PixelSize, int, PixelSize> growths[] = {
        {{600, 400}, 96, {80, 95}}, {{900, 500}, 144, {120, 42}}, {{500, 300}, 96, {0, 0}}, {{520, 305}, 96, {0, 0}}};
    for (const auto& [client, dpi, growth] : growths) {
        const PixelSize found = Growth(client, {7800, 4575}, dpi);
        EXPECT_EQ((std::pair<int, int>{found.width, found.height}), (std::pair<int, int>{growth.width, growth.height}))
            << client.width << " x " << client.height << " at " << dpi;
    }
    const std::vector<int> still[] = {{8, 8, 200, 17}, {8, 25, 416, 200}, {432, 25, 80, 25}, {8, 233, 416, 32},
                                      {432, 272, 80, 25}};
    const std::vector<int> grown[] = {{8, 8, 200, 17}, {8, 25, 496, 295}, {512, 25, 80, 25}, {8, 328, 496, 32},
                                      {512, 367, 80, 25}};
    for (std::size_t row = 0; row < std::size(table); ++row) {
        for (const auto& [growth, expected] : {std::pair{PixelSize{0, 0}, still[row]}, std::pair{PixelSize{80, 95}, grown[row]}}) {
            const PixelRect r = FollowingRect(table, std::size(table), row, 96, growth);
            EXPECT_EQ((std::vector<int>{r.left, r.top, r.width, r.height}), expected) << row << " " << growth.width;
        }
    }
}

TEST(ControlLayout, ColumnsShareTheListsWidth) {
    // name, folder, window mode (whole), hotkey (whole): wanted, minimum.
    const std::vector<ColumnNeed> columns = {{50, 30, false}, {100, 40, false}, {140, 50, true}, {80, 45, true}};
    struct Case {
        std::vector<ColumnNeed> columns;
        int available;
        std::size_t spare;
        std::vector<int> widths;
    } cases[] = {
        {columns, 400, 1, {50, 130, 140, 80}},     // all fit: the folder takes the rest
        {columns, 370, 1, {50, 100, 140, 80}},
        {columns, 400, 9, {50, 100, 140, 80}},     // no column to take it
        {columns, 340, 1, {50, 70, 140, 80}},      // the whole ones kept; the short name too, the folder cut
        {columns, 290, 1, {30, 40, 140, 80}},      // the whole ones just fit beside the headers
        {columns, 280, 1, {50, 77, 77, 76}},       // the whole ones do not fit beside the headers: all share
        {{{300, 30, false}, {30, 40, false}, {140, 50, true}, {80, 45, true}}, 300, 1, {40, 40, 140, 80}},
        {{{200, 30, false}, {20, 10, false}, {140, 50, true}, {80, 45, true}}, 320, 1, {80, 20, 140, 80}},  // the narrower shares first
        {columns, 200, 1, {50, 50, 50, 50}},
        {columns, 170, 1, {35, 40, 50, 45}},       // none below its header
        {columns, 100, 1, {30, 40, 50, 45}},       // nor when the headers do not fit
    };
    for (const Case& c : cases) EXPECT_EQ(FitColumns(c.columns, c.available, c.spare), c.widths) << c.available;
}

TEST(ControlLayout, EnterAndEscPressTheButtonsWithThoseRoles) {
    using R = ButtonRole;
    const ControlSpec settings[] = {
        {ControlKind::TextBox, 1, L"", -1, 0, 0, 10, 10, 0},
        {ControlKind::Button, 2, L"&Save", -1, 0, 0, 10, 10, 1, R::Default},
        {ControlKind::Button, 3, L"&Cancel", -1, 0, 0, 10, 10, 2, R::Cancel},
    };
    EXPECT_EQ(DefaultButton(settings, 3), 2);
    EXPECT_EQ(CancelButton(settings, 3), 3);
    const ControlSpec about[] = {{ControlKind::Label, 5, L"", -1, 0, 0, 10, 10, 0},
                                 {ControlKind::Button, 1, L"&OK", -1, 0, 0, 10, 10, 1, R::DefaultAndCancel}};
    EXPECT_EQ(DefaultButton(about, 2), 1);
    EXPECT_EQ(CancelButton(about, 2), 1);
    EXPECT_EQ(DefaultButton(about, 1), 0) << "no button with the role";
    EXPECT_EQ(CancelButton(settings, 2), 0);
    const ControlSpec first[] = {{ControlKind::Button, 7, L"&Exit", -1, 0, 0, 10, 10, 0, R::Cancel},
                                 {ControlKind::Button, 8, L"&Go", -1, 0, 0, 10, 10, 1, R::Default}};
    EXPECT_EQ(CancelButton(first, 2), 7) << "the first row counts";
    EXPECT_EQ(DefaultButton(&first[1], 1), 8);
}

TEST(ProgramPath, QuotedOnlyWhenItHoldsABlank) {
    EXPECT_EQ(QuoteProgramPath(L"C:\\Tolvane\\Tolvane.exe"), L"C:\\Tolvane\\Tolvane.exe");
    EXPECT_EQ(QuoteProgramPath(L"C:\\Program Files\\Tolvane\\Tolvane.exe"),
              L"\"C:\\Program Files\\Tolvane\\Tolvane.exe\"");
    EXPECT_EQ(QuoteProgramPath(L"C:\\Tab\there\\Tolvane.exe"), L"\"C:\\Tab\there\\Tolvane.exe\"");
}
