# Packs the Windows release zip; script mode, run by the windows_zip target:
#   cmake -DZIP=... -DSTAGE=... -DPROGRAMS="exe;dll;..." -DAPP_DIR=... -DREADME=...
#         [-DEMBED_DIR=...] -P windows-zip.cmake
# The zip unpacks to VorlaRecomp\ with the PROGRAMS, every *.py under APP_DIR in app\ (the
# launcher script and the vorla_ui binding), and in python\ either the prepared embeddable
# Python (EMBED_DIR) or the note saying which interpreter to drop in (README). It is written
# under a temporary name and renamed once complete, so a failure leaves no zip behind.
foreach(required ZIP STAGE PROGRAMS APP_DIR README)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "windows-zip.cmake needs -D${required}=...")
  endif()
endforeach()

set(partial ${ZIP}.partial)
file(REMOVE ${ZIP} ${partial})
file(REMOVE_RECURSE ${STAGE})
set(top ${STAGE}/VorlaRecomp)
file(MAKE_DIRECTORY ${top}/python)
file(COPY ${PROGRAMS} DESTINATION ${top})

file(GLOB_RECURSE scripts RELATIVE ${APP_DIR} ${APP_DIR}/*.py)
if(NOT scripts)
  message(FATAL_ERROR "no *.py files under ${APP_DIR}")
endif()
foreach(script ${scripts})
  get_filename_component(folder ${top}/app/${script} DIRECTORY)
  file(COPY ${APP_DIR}/${script} DESTINATION ${folder})
endforeach()

if(EMBED_DIR)
  if(NOT IS_DIRECTORY ${EMBED_DIR})
    message(FATAL_ERROR "${EMBED_DIR} is gone: run scripts/windows-build.sh again")
  endif()
  file(COPY ${EMBED_DIR}/ DESTINATION ${top}/python)
else()
  file(COPY ${README} DESTINATION ${top}/python)
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${partial} --format=zip VorlaRecomp
  WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed)
if(failed)
  file(REMOVE ${partial})
  message(FATAL_ERROR "packing ${ZIP} failed")
endif()
file(RENAME ${partial} ${ZIP})
