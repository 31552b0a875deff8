# A GUI program that imports only Windows system DLLs: the C++ runtime and
# libgcc are linked in, and unicode wWinMain is the entry point. The programs
# land side by side in bin/, as a user unpacks them; RESOURCES names the files
# the program's .rc pulls in (icon, manifest), so that editing one rebuilds it.
function(tolvane_windows_program target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "RC" "RESOURCES")
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  if(arg_RC)
    set_property(SOURCE ${arg_RC} APPEND PROPERTY OBJECT_DEPENDS ${arg_RESOURCES}
      ${PROJECT_SOURCE_DIR}/version/Version.h)
  endif()
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/winkit/win32/SmallRuntime.cpp)
  target_link_options(${target} PRIVATE -municode -mwindows -Wl,--gc-sections -Wl,--dynamicbase -Wl,--nxcompat -Wl,--no-insert-timestamp)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_link_options(${target} PRIVATE -Wl,--high-entropy-va)
  endif()
  if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel" OR CMAKE_BUILD_TYPE STREQUAL "Release")
    target_link_options(${target} PRIVATE -s)
  endif()
endfunction()
