# `cpack -G DEB` in a Linux build folder: one Debian package of everything `cmake --install`
# puts under the prefix (library, header, CMake package, vorla_ui.pc), installed under /usr.
if(WIN32)
  return()
endif()
set(CPACK_PACKAGE_NAME libvorla-ui)  # Debian package names have no underscores
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Vorla Recomp launcher window library (C interface)")
set(CPACK_PACKAGE_DESCRIPTION
  "The launcher window, its settings file and the progress window of Vorla Recomp, with the
header, a CMake package (vorla_ui::vorla_ui) and a pkg-config file for host programs.")
set(CPACK_PACKAGE_CONTACT "Vorla Recomp developers <vorla@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)  # as Debian ships libraries; debug builds keep theirs in lib/
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
# Depends from the library's own DT_NEEDED entries (dpkg-shlibdeps): libsdl2-2.0-0, libc6, ...
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")  # any 1.x satisfies a program built against 1.0.0
set(CPACK_GENERATOR DEB)
include(CPack)
