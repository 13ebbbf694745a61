# cmake -P: the wheel of the Python binding, carrying the built library.
#   -DSOURCE=<source tree> -DSTAGE=<scratch folder> -DDIST=<folder of the wheel>
#   -DVERSION=<x.y.z> -DPLATFORM=<wheel platform tag> -DPYTHON=<python3 with pip, setuptools, wheel>
#   -DLIBRARIES=<file=name in the package;...>
# The stage mirrors the source tree's layout (pyproject.toml, app/vorla_ui, the readme), so
# the wheel is what `pip wheel .` builds from the source, plus the library files, the
# version of the build and the platform tag. Built offline: no build isolation, no index.
foreach(var SOURCE STAGE DIST VERSION PLATFORM PYTHON LIBRARIES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "python-wheel.cmake needs -D${var}")
  endif()
endforeach()

file(REMOVE_RECURSE ${STAGE})
set(package ${STAGE}/app/vorla_ui)
file(MAKE_DIRECTORY ${package} ${STAGE}/docs ${DIST})
file(COPY ${SOURCE}/pyproject.toml DESTINATION ${STAGE})
file(COPY ${SOURCE}/docs/host-guide.md DESTINATION ${STAGE}/docs)
file(GLOB modules ${SOURCE}/app/vorla_ui/*.py)
file(COPY ${modules} ${SOURCE}/app/vorla_ui/py.typed DESTINATION ${package})
# The version of the library in the wheel, whatever the source tree's copy says (a test
# holds that copy to the header).
file(WRITE ${package}/_version.py
  "\"\"\"The binding's version: that of the library this wheel carries.\"\"\"\n\n__version__ = \"${VERSION}\"\n")
foreach(entry ${LIBRARIES})
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 from)
  list(GET pair 1 name)
  file(COPY_FILE ${from} ${package}/${name})
endforeach()
# A package whose modules are pure Python but which carries a library for one platform:
# tagged py3-none-<platform>, installed into purelib.
file(WRITE ${STAGE}/setup.cfg "[bdist_wheel]\npython_tag = py3\nplat_name = ${PLATFORM}\n")

set(wheel ${DIST}/vorla_ui-${VERSION}-py3-none-${PLATFORM}.whl)
file(GLOB earlier ${DIST}/vorla_ui-*-${PLATFORM}.whl)  # also those of an earlier version
if(earlier)
  file(REMOVE ${earlier})
endif()
execute_process(
  COMMAND ${PYTHON} -m pip wheel --quiet --no-build-isolation --no-index --no-deps --wheel-dir ${DIST} ${STAGE}
  WORKING_DIRECTORY ${STAGE}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT EXISTS ${wheel})
  message(FATAL_ERROR "pip did not make ${wheel} (exit ${result}); it needs Debian's python3-pip, "
                      "python3-setuptools and python3-wheel (scripts/setup-deps.sh installs them)")
endif()
message(STATUS "Wheel: ${wheel}")
