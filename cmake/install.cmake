# cmake --install and cpack: the libraries, the public headers, a CMake package (find_package(vxtools)
# with targets vxtools::vxtools, ::shell and ::fonts), a pkg-config file, and, when built,
# the applications with a desktop entry and an icon.
include(CMakePackageConfigHelpers)

# The headless platform is not installed: it reaches into the toolkit's inside, which stays private to
# this source tree (its tests and tools, and projects that add the tree with add_subdirectory).
set(VX_INSTALL_TARGETS vxtools)
foreach(lib IN ITEMS vxfonts vxtools_shell)
  if(TARGET ${lib})
    list(APPEND VX_INSTALL_TARGETS ${lib})
  endif()
endforeach()
install(TARGETS ${VX_INSTALL_TARGETS} EXPORT vxtoolsTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# The public headers, and nothing else: a program's include path is include/vxtools alone.
install(DIRECTORY include/vxtools DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)

set(VX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/vxtools)
install(EXPORT vxtoolsTargets NAMESPACE vxtools:: DESTINATION ${VX_CMAKE_DIR} COMPONENT development)
configure_package_config_file(packaging/vxtoolsConfig.cmake.in ${PROJECT_BINARY_DIR}/vxtoolsConfig.cmake
  INSTALL_DESTINATION ${VX_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/vxtoolsConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/vxtoolsConfig.cmake ${PROJECT_BINARY_DIR}/vxtoolsConfigVersion.cmake
  DESTINATION ${VX_CMAKE_DIR} COMPONENT development)

# pkg-config: the application layer with everything below it. A static library brings its own
# dependencies along as plain requirements.
if(BUILD_SHARED_LIBS)
  set(VX_PC_REQUIRES "")
  set(VX_PC_REQUIRES_PRIVATE "spng zlib xcb")
else()
  set(VX_PC_REQUIRES " spng zlib xcb")
  set(VX_PC_REQUIRES_PRIVATE "")
endif()
# Relative to the file itself, so that an installed tree can move (and a DESTDIR or --prefix install works).
file(RELATIVE_PATH VX_PC_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" VX_PC_PREFIX "${VX_PC_PREFIX}")
configure_file(packaging/vxtools.pc.in ${PROJECT_BINARY_DIR}/vxtools.pc @ONLY)
if(TARGET vxtools_shell)
  install(FILES ${PROJECT_BINARY_DIR}/vxtools.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT development)
endif()

# The applications, with Streifenwerk and Malkasten in the desktop's application menu.
foreach(app IN ITEMS Streifenwerk Malkasten Textfenster)
  if(TARGET ${app})
    install(TARGETS ${app} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
  endif()
endforeach()
if(TARGET Streifenwerk)
  install(FILES packaging/streifenwerk.desktop packaging/malkasten.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT runtime)
  install(FILES packaging/streifenwerk.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps
    COMPONENT runtime)
  install(FILES packaging/streifenwerk.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    COMPONENT runtime)
endif()

# cpack -G DEB: one package with everything above.
set(CPACK_PACKAGE_NAME vxtools)
set(CPACK_PACKAGE_VENDOR "vxtools")
set(CPACK_PACKAGE_CONTACT "vxtools maintainers <vxtools@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Retro-style graphics toolkit with the Streifenwerk and Malkasten programs")
set(CPACK_PACKAGE_DESCRIPTION "vxtools gives a C++20 program eight numbered graphic windows on emulated \
video memory, a text layer with bitmap fonts, events, menus and file panels on Qt 6. The package holds \
the libraries, headers, CMake and pkg-config files, and the programs Streifenwerk, Malkasten and \
Textfenster.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), qt6-wayland, libspng0, zlib1g, libxcb1, libc6, libstdc++6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "console-setup-linux, qt6-base-dev, libspng-dev, zlib1g-dev, libxcb1-dev, cmake, pkg-config")
set(CPACK_STRIP_FILES ON)
include(CPack)
