#include "Forms.h"

#include "Error.h"

namespace launcher {

namespace {
int g_loadedForms = 0;
HINSTANCE g_instance = nullptr;
}  // namespace

void FormLoaded() { ++g_loadedForms; }

void FormUnloaded() {
    if (--g_loadedForms <= 0) PostQuitMessage(0);
}

HINSTANCE ProgramInstance() { return g_instance; }
void SetInstance(HINSTANCE instance) { g_instance = instance; }

void ShowFailure(const wchar_t* what) { winkit::ShowInformation(nullptr, what, L"Tolvane"); }

}  // namespace launcher
