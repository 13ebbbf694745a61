# `cpack -G DEB` in a Linux build folder: the two packages Debian makes of a shared library,
# one per install component (cmake/install-rules.cmake), installed under /usr:
#   libvorla-ui<major>  the `runtime` component: the versioned library and its SONAME link;
#   libvorla-ui-dev     the `dev` component: header, unversioned link, CMake and pkg-config
#                       files, depending on the runtime package of exactly this version.
# Each carries its copyright and changelog under usr/share/doc/<package>/.
if(WIN32)
  return()
endif()

set(VORLA_DEB_RUNTIME libvorla-ui${PROJECT_VERSION_MAJOR})  # named after the SONAME's major
set(VORLA_DEB_DEV libvorla-ui-dev)
set(VORLA_DEB_MAINTAINER "Vorla Recomp developers <maintainers@users.noreply.c-seed-1a61e313.example>")
# Debian revision 1 of each upstream version: the packaging is not the upstream source, so
# its changelog is changelog.Debian.gz.
set(VORLA_DEB_VERSION ${PROJECT_VERSION}-1)

set(CPACK_PACKAGE_NAME libvorla-ui)  # Debian package names have no underscores
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_CONTACT "${VORLA_DEB_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)  # as Debian ships libraries; debug builds keep theirs in lib/

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${VORLA_DEB_RUNTIME})
set(CPACK_DEBIAN_DEV_PACKAGE_NAME ${VORLA_DEB_DEV})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
# The first line of each is the package's summary; lines stay under 80 characters.
set(VORLA_DEB_ABOUT "The launcher window, its settings file and the progress window of
Vorla Recomp, called by a host program through plain C exports.")
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "Vorla Recomp launcher window library
${VORLA_DEB_ABOUT}
This package holds the shared library.")
set(CPACK_DEBIAN_DEV_DESCRIPTION "Vorla Recomp launcher window library (development files)
${VORLA_DEB_ABOUT}
This package holds what a C or C++ host builds against: the header, a CMake
package (vorla_ui::vorla_ui) and a pkg-config file.")

# Runtime Depends from the library's own DT_NEEDED entries (dpkg-shlibdeps): libsdl2-2.0-0,
# libc6, ...; the shlibs file lets other packages do the same with this one.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")  # any 1.x satisfies a program built against 1.0.0
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "${VORLA_DEB_RUNTIME} (= ${VORLA_DEB_VERSION})")

# ldconfig runs through dpkg's trigger, not through maintainer scripts.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/debian/without-ldconfig-scripts.cmake)

# usr/share/doc/<package>/: copyright (machine-readable, with the font licence taken from
# the font generator's folder) and changelog.Debian.gz (gzip -9n: no name, no time stamp).
# The changelog's date honours SOURCE_DATE_EPOCH.
set(VORLA_DEB_DOC ${CMAKE_BINARY_DIR}/debian-doc)
file(READ ${CMAKE_SOURCE_DIR}/tools/fontgen/LICENSE-DejaVu.txt font_licence)
string(REGEX REPLACE "^.*\n(Permission is hereby granted)" "\\1" font_licence "${font_licence}")
string(STRIP "${font_licence}" font_licence)
string(REGEX REPLACE "\n\n" "\n.\n" font_licence "${font_licence}")
string(REGEX REPLACE "\n" "\n " VORLA_DEB_FONT_LICENCE "${font_licence}")
string(TIMESTAMP VORLA_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
foreach(package ${VORLA_DEB_RUNTIME} ${VORLA_DEB_DEV})
  set(VORLA_DEB_PACKAGE ${package})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/debian/copyright.in ${VORLA_DEB_DOC}/${package}/copyright @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/debian/changelog.in ${VORLA_DEB_DOC}/${package}/changelog.Debian @ONLY)
  execute_process(COMMAND gzip -9nf ${VORLA_DEB_DOC}/${package}/changelog.Debian RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip of ${VORLA_DEB_DOC}/${package}/changelog.Debian failed")
  endif()
endforeach()
# Only in the packages: a plain `cmake --install` leaves them out.
install(DIRECTORY ${VORLA_DEB_DOC}/${VORLA_DEB_RUNTIME} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc
  COMPONENT runtime EXCLUDE_FROM_ALL)
install(DIRECTORY ${VORLA_DEB_DOC}/${VORLA_DEB_DEV} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc
  COMPONENT dev EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
include(CPack)
