# The layers of src/: one target per source folder, linked to the folders it
# uses. A file that includes a header of any other folder fails its target's
# build (CheckLayerIncludes.cmake), so the layering in docs/architecture.md
# holds as the code changes.

# The target of a source folder: kalvora_wizard, kalvora_wizard_win32, ...
function(kalvora_layer_target folder out)
  string(REPLACE "/" "_" name ${folder})
  set(${out} kalvora_${name} PARENT_SCOPE)
endfunction()

# kalvora_uses(<target> <folder> [USES <folder>...]): target is built from
# src/<folder>, links the USES folders' targets and may include their headers only.
function(kalvora_uses target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "USES")
  foreach(used IN LISTS arg_USES)
    kalvora_layer_target(${used} usedTarget)
    target_link_libraries(${target} PUBLIC ${usedTarget})
  endforeach()
  file(GLOB files CONFIGURE_DEPENDS ${KALVORA_SOURCE_ROOT}/${folder}/*.h ${KALVORA_SOURCE_ROOT}/${folder}/*.cpp)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/layers/${target}.checked)
  set(checker ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_ROOT=${KALVORA_SOURCE_ROOT} -DFOLDER=${folder} "-DUSES=${arg_USES}"
            -DSTAMP=${stamp} -P ${checker}
    DEPENDS ${files} ${checker}
    COMMENT "Checking the includes of src/${folder}"
    VERBATIM)
  target_sources(${target} PRIVATE ${stamp})
endfunction()

# kalvora_library(<folder> [USES <folder>...]): the static library of src/<folder>.
function(kalvora_library folder)
  kalvora_layer_target(${folder} target)
  file(GLOB sources CONFIGURE_DEPENDS ${KALVORA_SOURCE_ROOT}/${folder}/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "/Posix[A-Za-z]*\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "/Win32[A-Za-z]*\\.cpp$")
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${KALVORA_SOURCE_ROOT})
  kalvora_warnings(${target})
  kalvora_uses(${target} ${folder} ${ARGN})
endfunction()
