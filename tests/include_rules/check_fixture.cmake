# The include check run on a small tree with two includes against the rules of
# ui/include_rules.cmake: it must fail and name exactly those two, with their files.
#   cmake -DCHECK=<cmake/check-includes.cmake> -DFIXTURE=<this folder>/fixture -P check_fixture.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${FIXTURE} -P ${CHECK}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(report "${out}${err}")
message(STATUS "check-includes on the fixture said:\n${report}")
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed a tree with includes against the rules")
endif()
foreach(expected
    "ui/settings/backwards.cpp includes \"../frame/state.h\" (ui/frame/state.h): ui/settings may include only settings/"
    "ui/settings/windowed.cpp includes <SDL.h>, which ui/settings may not"
    "2 include(s) against the folder rules")
  string(FIND "${report}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the report lacks: ${expected}")
  endif()
endforeach()
foreach(allowed "allowed.cpp" "frame/state.h includes" "record.h\"")
  string(FIND "${report}" "${allowed}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the report names an allowed include: ${allowed}")
  endif()
endforeach()
