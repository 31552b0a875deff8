#include "Guide.h"

#include "Join.h"

namespace launcher {

std::wstring GuidePath(const std::wstring& programFolder) {
    const bool separated = !programFolder.empty() && programFolder.back() == L'\\';
    return winkit::Join({programFolder, separated ? L"" : L"\\", L"Readme.txt"});
}

std::wstring GuideMissingText(const std::wstring& path) {
    return winkit::Join({L"Tolvane's guide is missing: ", path,
                         L"\n\nSetup puts Readme.txt beside Tolvane.exe; installing Tolvane again brings it back."});
}

std::wstring GuideNotOpenedText(const std::wstring& path, const std::wstring& systemMessage) {
    return winkit::Join({L"Tolvane could not open its guide, ", path, L":\n", systemMessage});
}

}  // namespace launcher
