# Run by cpack after it made the packages (CPACK_POST_BUILD_SCRIPTS, CPACK_PACKAGE_FILES).
# CPack writes a postinst and a postrm that call ldconfig into any package with a library
# under /usr/lib, and nothing turns that off. The runtime package asks for dpkg's ldconfig
# trigger instead (cmake/debian/triggers), so each package is rebuilt without those two
# scripts: the packages have no maintainer scripts at all.
foreach(deb ${CPACK_PACKAGE_FILES})
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  set(tree ${deb}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb -R ${deb} ${tree} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "dpkg-deb -R ${deb} failed")
  endif()
  file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
  execute_process(COMMAND dpkg-deb --root-owner-group -Zxz -b ${tree} ${deb}
    OUTPUT_QUIET RESULT_VARIABLE failed)
  file(REMOVE_RECURSE ${tree})
  if(failed)
    message(FATAL_ERROR "dpkg-deb -b ${deb} failed")
  endif()
endforeach()
