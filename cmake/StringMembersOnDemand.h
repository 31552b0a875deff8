// Forced into every C++ file of the Windows builds (see CMakeLists.txt).
//
// libstdc++ instantiates all of std::wstring in one object file and declares
// that instantiation extern, so every program links that whole object. In a
// PE file the object's one .eh_frame names every member, and the linker's
// --gc-sections then keeps all of them (docs/performance.md has what that
// cost). -1 is the value libstdc++ itself uses for its checked builds:
// basic_string alone is then instantiated where it is used, member by member,
// and the rest of the library stays extern.
#pragma once
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1
