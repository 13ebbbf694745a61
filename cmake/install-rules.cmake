# What `cmake --install` puts under the prefix: the header, the shared library (with its
# import library on Windows), a CMake package giving vorla_ui::vorla_ui, and vorla_ui.pc.
# The launcher executable and the Python bundle are the product's own layout, not part
# of the C package.
# Two install components, as Debian splits a library: `runtime` is what a program needs
# to run (the versioned library and its SONAME link; on Windows the DLLs), `dev` what a
# program needs to build (the header, the unversioned link, the import library, the CMake
# and pkg-config files). A plain `cmake --install` installs both.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VORLA_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/vorla_ui)

target_include_directories(vorla_ui INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
install(TARGETS vorla_ui EXPORT vorla_uiTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(FILES ${CMAKE_SOURCE_DIR}/ui/frame/vorla_ui.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev)
if(WIN32)
  # Windows has no system SDL2: the DLL loads the one beside it, as in the bundle.
  install(FILES $<TARGET_FILE:SDL2::SDL2> DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
endif()

# SDL2 is linked privately and the header includes nothing of it, so the package asks a
# consumer for nothing of SDL: no find_dependency here, no Requires in the .pc file.
install(EXPORT vorla_uiTargets NAMESPACE vorla_ui:: DESTINATION ${VORLA_CMAKE_PACKAGE_DIR} COMPONENT dev)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/vorla_uiConfig.cmake.in
  ${CMAKE_BINARY_DIR}/vorla_uiConfig.cmake INSTALL_DESTINATION ${VORLA_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/vorla_uiConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/vorla_uiConfig.cmake ${CMAKE_BINARY_DIR}/vorla_uiConfigVersion.cmake
  DESTINATION ${VORLA_CMAKE_PACKAGE_DIR} COMPONENT dev)

# The .pc file finds the prefix from its own folder, so one file serves every prefix
# (`cmake --install --prefix`, the Debian package under /usr).
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  message(FATAL_ERROR "vorla_ui.pc needs CMAKE_INSTALL_LIBDIR and CMAKE_INSTALL_INCLUDEDIR relative to the prefix")
endif()
file(RELATIVE_PATH VORLA_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" VORLA_PC_TO_PREFIX "${VORLA_PC_TO_PREFIX}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/vorla_ui.pc.in ${CMAKE_BINARY_DIR}/vorla_ui.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/vorla_ui.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
