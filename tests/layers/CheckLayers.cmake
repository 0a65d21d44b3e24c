# Fails when a source file includes a folder above its own layer, so the
# dependency picture of src/ keeps pointing one way: shared text and the
# platform seams at the bottom, then what every window shares, the domain
# subsystems, their windows, the main window that composes them (station)
# and start-up at the top. Domain code never
# includes a window; the platform adapters include only the seams.
# Run as: cmake -DSRC=<src folder> -P CheckLayers.cmake
# Start-up (app and app/ui) is one layer: it wires everything below it.
set(order text platform common geo voice cw log export bandplan rig spots graph common/ui voice/ui cw/ui export/ui bandplan/ui rig/ui spots/ui graph/ui log/ui station platform/qt app)

file(GLOB_RECURSE sources RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp")
set(problems "")
foreach(source IN LISTS sources)
  get_filename_component(unit "${source}" DIRECTORY)
  string(REGEX REPLACE "^app/ui$" "app" unit "${unit}")
  list(FIND order "${unit}" from)
  if(from EQUAL -1)
    string(APPEND problems "${source}: its folder is not in the layer order\n")
    continue()
  endif()
  file(STRINGS "${SRC}/${source}" includes REGEX "^#include \"[a-z]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"(.*)/[^/]*\".*$" "\\1" target "${line}")
    string(REGEX REPLACE "^app/ui$" "app" target "${target}")
    list(FIND order "${target}" to)
    if(to EQUAL -1)
      string(APPEND problems "${source}: includes ${target}, which is not in the layer order\n")
    elseif(to GREATER from)
      string(APPEND problems "${source}: ${unit} includes ${target}, a layer above it\n")
    elseif(unit STREQUAL "platform/qt" AND NOT target MATCHES "^(platform|platform/qt|text)$")
      string(APPEND problems "${source}: a platform adapter includes ${target}\n")
    endif()
  endforeach()
endforeach()
if(problems)
  message(FATAL_ERROR "Includes that run against the layers:\n${problems}")
endif()
list(LENGTH sources count)
message(STATUS "${count} source files keep to the layers")
