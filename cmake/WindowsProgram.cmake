# A GUI program that imports only Windows system DLLs: the C++ runtime and
# libgcc are linked in, and unicode wWinMain is the entry point.
function(tolvane_windows_program target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/winkit/SmallRuntime.cpp)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections)
  target_link_options(${target} PRIVATE -municode -mwindows -static -static-libgcc -static-libstdc++
    -Wl,--gc-sections -Wl,--dynamicbase -Wl,--nxcompat -Wl,--no-insert-timestamp)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_link_options(${target} PRIVATE -Wl,--high-entropy-va)
  endif()
  if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel" OR CMAKE_BUILD_TYPE STREQUAL "Release")
    target_link_options(${target} PRIVATE -s)
  endif()
endfunction()
