#include "Guide.h"

#include "Join.h"
#include "LauncherTexts.h"

namespace launcher {

std::wstring GuidePath(const std::wstring& programFolder, Language language) {
    const bool separated = !programFolder.empty() && programFolder.back() == L'\\';
    return winkit::Join({programFolder, separated ? L"" : L"\\", TextIn(language, TextId::GuideFile)});
}

std::wstring GuideMissingText(const std::wstring& path) { return Format(TextId::GuideMissing, {path}); }

std::wstring GuideNotOpenedText(const std::wstring& path, const std::wstring& systemMessage) {
    return Format(TextId::GuideNotOpened, {path, systemMessage});
}

}  // namespace launcher
