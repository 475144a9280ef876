cmake_minimum_required(VERSION 3.25)
# Run as a build step of each layer's target (cmake/Layers.cmake):
#   cmake -DSOURCE_ROOT=<src> -DFOLDER=<wizard/win32> -DUSES=<platform;model;...> -DSTAMP=<file> -P CheckLayerIncludes.cmake
# Fails, naming the file, line and header, when a file of FOLDER includes a
# header of a source folder that is neither FOLDER nor one of USES.
set(allowed ${FOLDER} ${USES})
list(JOIN USES ", " usable)
file(GLOB files ${SOURCE_ROOT}/${FOLDER}/*.h ${SOURCE_ROOT}/${FOLDER}/*.cpp)
set(errors "")
foreach(file IN LISTS files)
  file(READ ${file} content)
  # Directives only: an include named in a comment or a string is no dependency.
  string(REGEX MATCHALL "(^|\n)[ \t]*#[ \t]*include[ \t]*[<\"][^>\"\n]+[>\"]" includes "${content}")
  foreach(directive IN LISTS includes)
    string(REGEX REPLACE ".*[<\"]([^>\"]+)[>\"]" "\\1" header "${directive}")
    if(NOT header MATCHES "/")
      continue() # a system header, or one beside the file
    endif()
    get_filename_component(folder ${header} DIRECTORY)
    if(header MATCHES "\\.\\." OR (IS_DIRECTORY ${SOURCE_ROOT}/${folder} AND NOT folder IN_LIST allowed))
      string(FIND "${content}" "${directive}" at)
      string(SUBSTRING "${content}" 0 ${at} before)
      string(REGEX MATCHALL "\n" newlines "${before}")
      list(LENGTH newlines line)
      if(directive MATCHES "^\n")
        math(EXPR line "${line} + 2") # the newline found is the one before the directive's line
      else()
        math(EXPR line "${line} + 1")
      endif()
      file(RELATIVE_PATH shown ${SOURCE_ROOT}/.. ${file})
      string(APPEND errors "${shown}:${line}: error: ${FOLDER} may not include \"${header}\" "
                           "(it may include only ${FOLDER}, ${usable})\n")
    endif()
  endforeach()
endforeach()
if(errors)
  message(FATAL_ERROR "Wrong-way include (see docs/architecture.md):\n${errors}")
endif()
file(TOUCH ${STAMP})
