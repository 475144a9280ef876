# Warnings for the project's own targets (third-party code is added as SYSTEM).
function(kalvora_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  if(KALVORA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
