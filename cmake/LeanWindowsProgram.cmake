# The Windows programs that travel on a medium (setup.exe, unkalvora.exe) define
# the run-time pieces of src/runtime/win32 themselves, so that the static link
# leaves out what the library's versions bring (see the files there).
function(kalvora_lean_windows_program target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/runtime/win32/LeanRuntime.cpp
                                   ${PROJECT_SOURCE_DIR}/src/runtime/win32/LeanThreads.cpp)
endfunction()
