#pragma once
// The guide a user reads: the Readme.txt that Setup and the MSI install beside
// Tolvane.exe (Liesmich.txt in German, which the MSI installs too), opened by
// F1 in the launcher's windows.
#include <string>

#include "LauncherTexts.h"

namespace launcher {

// The guide in a language (the display language's unless named) beside the
// running program, whatever name the program has.
std::wstring GuidePath(const std::wstring& programFolder, Language language = CurrentLanguage());

// Said when F1 finds no guide: saying nothing would look like a dead key.
std::wstring GuideMissingText(const std::wstring& path);
// Said when Windows could not open it (no program for .txt files, say).
std::wstring GuideNotOpenedText(const std::wstring& path, const std::wstring& systemMessage);

}  // namespace launcher
