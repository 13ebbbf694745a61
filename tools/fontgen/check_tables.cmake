# Checks that the committed font tables are exactly what the generator makes of its inputs:
#   cmake -DFONTGEN=<fontgen> -DFONT_DIR=<DejaVu folder> -DINPUT_SUMS=<inputs.sha256>
#         -DTABLES=<committed tables> -DOUT=<scratch folder> -P check_tables.cmake
# First the source fonts are checked against the sums the tables were made from, so that
# other fonts are reported as such and not as an edited table. Then the tables are
# regenerated into OUT (emptied first) and every file of either folder is compared byte for
# byte; each one that differs is named, with the start of its diff.
cmake_minimum_required(VERSION 3.16)
foreach(var FONTGEN FONT_DIR INPUT_SUMS TABLES OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_tables.cmake: ${var} is not set")
  endif()
endforeach()

file(STRINGS "${INPUT_SUMS}" sum_lines)
foreach(line IN LISTS sum_lines)
  if(NOT line MATCHES "^([0-9a-f]+)  (.+)$")
    message(FATAL_ERROR "${INPUT_SUMS}: not a sha256sum line: ${line}")
  endif()
  set(recorded "${CMAKE_MATCH_1}")
  set(font "${FONT_DIR}/${CMAKE_MATCH_2}")
  if(NOT EXISTS "${font}")
    message(FATAL_ERROR "source font ${font} is missing (Debian package fonts-dejavu-core)")
  endif()
  file(SHA256 "${font}" actual)
  if(NOT actual STREQUAL recorded)
    message(FATAL_ERROR "source font ${font} is not the one the tables were made from "
                        "(sha256 ${actual}, recorded ${recorded} in ${INPUT_SUMS})")
  endif()
endforeach()

file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${FONTGEN}" "${FONT_DIR}" "${OUT}"
  RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the generator failed (${result}):\n${report}${errors}")
endif()

file(GLOB committed RELATIVE "${TABLES}" "${TABLES}/*")
file(GLOB generated RELATIVE "${OUT}" "${OUT}/*")
set(names ${committed} ${generated})
list(REMOVE_DUPLICATES names)
list(SORT names)
set(differing "")
foreach(name IN LISTS names)
  if(NOT name IN_LIST generated)
    message("${name}: in ${TABLES} but not made by the generator")
  elseif(NOT name IN_LIST committed)
    message("${name}: made by the generator but not in ${TABLES}")
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${TABLES}/${name}" "${OUT}/${name}"
      RESULT_VARIABLE same)
    if(same EQUAL 0)
      continue()
    endif()
    execute_process(COMMAND diff -u "${TABLES}/${name}" "${OUT}/${name}" COMMAND head -n 16
      OUTPUT_VARIABLE head)
    message("${name}: differs from the generator's output (committed, then regenerated):\n${head}")
  endif()
  list(APPEND differing "${name}")
endforeach()
if(differing)
  message("The generator's report:\n${report}")
  message(FATAL_ERROR "font tables that are not the generator's output: ${differing}. "
                      "If the change is meant, rerun the generator (tools/fontgen/README.md) and commit "
                      "its output with it; otherwise revert the edit.")
endif()
list(LENGTH names count)
message("font tables: all ${count} files are the generator's output")
