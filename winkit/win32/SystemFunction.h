#pragma once
// Functions of system DLLs looked up by name, for those that older Windows
// versions lack and for DLLs that cost start-up time as imports.
#include <windows.h>

namespace winkit {

// The function typed by its pointer type, or nullptr where the DLL or the
// function is missing. The one cast from FARPROC the programs make: through
// void*, as GCC's -Wcast-function-type asks.
template <typename Fn>
Fn FunctionOf(HMODULE module, const char* name) {
    return module != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                             : nullptr;
}

// Of a DLL the program has loaded already (kernel32, user32, comctl32 once a
// control is made).
template <typename Fn>
Fn LoadedFunction(const wchar_t* dll, const char* name) {
    return FunctionOf<Fn>(GetModuleHandleW(dll), name);
}

// Of a system DLL that is loaded by this call and stays loaded. The search
// is restricted to the system folder at start (RestrictDllSearchToSystemFolder).
template <typename Fn>
Fn SystemFunction(const wchar_t* dll, const char* name) {
    return FunctionOf<Fn>(LoadLibraryW(dll), name);
}

}  // namespace winkit
