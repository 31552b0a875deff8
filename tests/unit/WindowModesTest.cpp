#include <gtest/gtest.h>

#include "WindowModes.h"

using namespace launcher;

namespace {

std::array<bool, kModeOptionCount> Only(int option) {
    std::array<bool, kModeOptionCount> selected{};
    selected[static_cast<std::size_t>(option)] = true;
    return selected;
}

}  // namespace

TEST(ModeTable, ExactNamesOnly) {
    struct Case {
        const wchar_t* mode;
        std::optional<int> state;
    } cases[] = {
        {L"vbNormalFocus", 1},       {L"vbMinimizedFocus", 2},  {L"vbMaximizedFocus", 3},
        {L"vbNormalNoFocus", 4},     {L"vbnormalfocus", std::nullopt}, {L"VBMAXIMIZEDFOCUS", std::nullopt},
        {L" vbNormalFocus", std::nullopt}, {L"vbNormalFocus ", std::nullopt}, {L"", std::nullopt},
        {L"vbHide", std::nullopt},   {L"1", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShowStateForMode(c.mode), c.state) << "'" << testing::PrintToString(std::wstring(c.mode)) << "'";
        EXPECT_EQ(ExplorerShowState(c.mode), c.state.value_or(1)) << "unknown modes show a normal window";
    }
}

TEST(ModeOptions, StoredNameSelectsItsOption) {
    struct Case {
        const wchar_t* mode;
        std::optional<int> option;
    } cases[] = {
        // The captions do not follow the names: option 0 reads "minimized" but
        // stands for the normal window, option 2 "in the taskbar" for minimized.
        {L"vbNormalFocus", 0},
        {L"vbMaximizedFocus", 1},
        {L"vbMinimizedFocus", 2},
        {L"vbNormalNoFocus", 3},
        {L"vbnormalfocus", std::nullopt},
        {L"VBMINIMIZEDFOCUS", std::nullopt},
        {L"vbMaximizedfocus", std::nullopt},
        {L" vbNormalFocus", std::nullopt},
        {L"vbNormalNoFocus ", std::nullopt},
        {L"vbNormal Focus", std::nullopt},
        {L"vbNormalFocus\t", std::nullopt},
        {L"", std::nullopt},
        {L"vbHide", std::nullopt},
        {L"1", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OptionForMode(c.mode), c.option) << testing::PrintToString(std::wstring(c.mode));
}

TEST(ModeOptions, EachOptionStoresTheNameThatSelectsItAgain) {
    const wchar_t* expected[] = {L"vbNormalFocus", L"vbMaximizedFocus", L"vbMinimizedFocus", L"vbNormalNoFocus"};
    for (int option = 0; option < kModeOptionCount; ++option) {
        const std::wstring mode = ModeForOptions(Only(option));
        EXPECT_EQ(mode, expected[option]) << "option " << option;
        EXPECT_EQ(OptionForMode(mode), option);
    }
}

TEST(ModeOptions, NoSelectionStoresTheEmptyText) {
    EXPECT_EQ(ModeForOptions({}), L"");
}

TEST(ModeOptions, ALaterSelectedOptionWins) {
    EXPECT_EQ(ModeForOptions({true, false, true, false}), L"vbMinimizedFocus");
    EXPECT_EQ(ModeForOptions({true, true, true, true}), L"vbNormalNoFocus");
}


TEST(ModeOptions, AListShowsTheCaptionWithoutItsAccessKey) {
    EXPECT_EQ(ModeCaption(L"vbNormalFocus"), L"in the foreground, normal size");
    EXPECT_EQ(ModeCaption(L"vbMaximizedFocus"), L"in the foreground, maximized");
    EXPECT_EQ(ModeCaption(L"vbNormalNoFocus"), L"last size, position");
    EXPECT_EQ(ModeCaption(L"vbnormalfocus"), L"");
    EXPECT_EQ(ModeCaption(L""), L"");
}
