# The Windows programs that travel on a medium (setup.exe, unkalvora.exe) define
# the run-time pieces of src/runtime/win32 themselves, so that the static link
# leaves out what the library's versions bring (see the files there).
#
# Their release link optimises the whole program (LTO): calls are inlined and
# code no caller reaches goes, across the libraries. One partition: GCC 12
# fails on these programs with an internal error when it splits them.
function(kalvora_lean_windows_program target)
  target_link_options(${target} PRIVATE "$<$<CONFIG:Release>:-fuse-linker-plugin;-flto;-flto-partition=one>")
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/runtime/win32/LeanRuntime.cpp)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  # The fault path they end through (platform/Win32ProgramFault.h).
  target_link_libraries(${target} PRIVATE kalvora_platform)
endfunction()
