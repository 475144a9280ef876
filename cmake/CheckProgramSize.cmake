# Fails when PROGRAM is larger than LIMIT bytes. Run as a test:
#   cmake -DPROGRAM=path -DLIMIT=bytes -P CheckProgramSize.cmake
file(SIZE "${PROGRAM}" size)
if(size GREATER LIMIT)
  math(EXPR over "${size} - ${LIMIT}")
  message(FATAL_ERROR "${PROGRAM} is ${size} bytes, ${over} over its limit of ${LIMIT}")
endif()
message(STATUS "${PROGRAM}: ${size} bytes (limit ${LIMIT})")
