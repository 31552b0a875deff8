#include "Com.h"

#include "SystemFunction.h"

namespace winkit {

const ComFunctions& Com() {
    static const ComFunctions functions{
        SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx"),
        SystemFunction<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize"),
        SystemFunction<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance"),
        SystemFunction<decltype(&SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen")};
    return functions;
}

}  // namespace winkit
