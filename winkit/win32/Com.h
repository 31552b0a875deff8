#pragma once
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>

#include "Handles.h"

namespace winkit {

// ole32's and oleaut32's functions, looked up when COM is first needed: as
// imports they would be loaded with every start of either program.
struct ComFunctions {
    decltype(&CoInitializeEx) initialize;
    decltype(&CoUninitialize) uninitialize;
    decltype(&CoCreateInstance) createInstance;
    decltype(&SysAllocStringLen) allocString;
    bool Loaded() const {
        return initialize != nullptr && uninitialize != nullptr && createInstance != nullptr && allocString != nullptr;
    }
};
const ComFunctions& Com();

// CoInitializeEx for one scope, undone only where it succeeded (S_FALSE, an
// apartment this thread had already, counts and is undone too).
class ComApartment {
public:
    explicit ComApartment(DWORD flags)
        : m_result(Com().Loaded() ? Com().initialize(nullptr, flags) : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND)) {}
    ~ComApartment() {
        if (Started()) Com().uninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool Started() const { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};

// Only after Com().Loaded().
inline UniqueBstr ComText(const std::wstring& text) {
    return UniqueBstr(Com().allocString(text.data(), static_cast<UINT>(text.size())));
}

// HRESULT_FROM_WIN32 undone where it was one; other codes pass as they are
// (FormatMessage knows many of them).
inline long ErrorOf(HRESULT result) {
    return HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result) : static_cast<long>(result);
}

}  // namespace winkit
