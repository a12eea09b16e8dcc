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

# The applications, with Streifenwerk and Malkasten in the desktop's application menu, and a manual page
# for each.
foreach(app IN ITEMS Streifenwerk Malkasten Textfenster)
  if(TARGET ${app})
    install(TARGETS ${app} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
    set(page ${PROJECT_BINARY_DIR}/man/${app}.1.gz)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/man/${app}.1 > ${page}
      DEPENDS ${PROJECT_SOURCE_DIR}/packaging/man/${app}.1 VERBATIM)
    add_custom_target(${app}_manual ALL DEPENDS ${page})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT programs)
  endif()
endforeach()
if(TARGET Streifenwerk)
  foreach(name IN ITEMS streifenwerk malkasten)
    install(FILES packaging/${name}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT programs)
    install(FILES packaging/${name}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps
      COMPONENT programs)
    install(FILES packaging/${name}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
      COMPONENT programs)
  endforeach()
endif()

# The reference pages, when they have been built into the build tree (tools/build-docs <build>/docs, or
# the docs target), and the licence.
install(DIRECTORY ${PROJECT_BINARY_DIR}/docs/html/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vxtools/html
  COMPONENT development OPTIONAL)
install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vxtools COMPONENT development)

# cpack -G DEB: three packages, as a distribution splits a library: the shared libraries (libvxtools0),
# what a program is built with (libvxtools-dev: headers, library links, CMake and pkg-config files,
# reference pages) and the programs (vxtools-programs). Each carries its copyright file and changelog.
set(VX_MAINTAINER "vxtools maintainers <maintainers@vxtools.org>" CACHE STRING "Maintainer of the Debian packages")
set(VX_CHANGELOG ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${VX_CHANGELOG}
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/debian/changelog > ${VX_CHANGELOG}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog VERBATIM)
add_custom_target(vx_changelog ALL DEPENDS ${VX_CHANGELOG})
set(VX_PACKAGES runtime libvxtools0 development libvxtools-dev programs vxtools-programs)
list(LENGTH VX_PACKAGES count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
  math(EXPR j "${i} + 1")
  list(GET VX_PACKAGES ${i} component)
  list(GET VX_PACKAGES ${j} package)
  install(FILES packaging/debian/copyright ${VX_CHANGELOG} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
    COMPONENT ${component})
endforeach()

set(CPACK_PACKAGE_NAME vxtools)
set(CPACK_PACKAGE_VENDOR "vxtools")
set(CPACK_PACKAGE_CONTACT "${VX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Retro-style graphics toolkit for C++ on Qt 6")
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development programs)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(VX_DEB_VERSION "${PROJECT_VERSION}")
set(VX_QT_DEPENDS "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), qt6-wayland, libxcb1")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libvxtools0)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "${VX_QT_DEPENDS}, libspng0, zlib1g, libc6 (>= 2.34), libstdc++6 (>= 12)")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_RECOMMENDS "console-setup-linux")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS OFF)
# The ldconfig trigger registers the libraries; the scripts stand in for ones that would call it directly.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/runtime/triggers
  ${PROJECT_SOURCE_DIR}/packaging/debian/runtime/postinst ${PROJECT_SOURCE_DIR}/packaging/debian/runtime/postrm)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "Retro-style graphics toolkit for C++ on Qt 6 (shared libraries)
vxtools gives a C++20 program eight numbered graphic windows on emulated
video memory, a text layer with bitmap fonts, events, menus and file panels
on Qt 6. This package holds the shared libraries.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libvxtools-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
  "libvxtools0 (= ${VX_DEB_VERSION}), qt6-base-dev (>= 6.4), libspng-dev, zlib1g-dev, libxcb1-dev")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SUGGESTS "cmake, pkg-config")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "Retro-style graphics toolkit for C++ on Qt 6 (development files)
vxtools gives a C++20 program eight numbered graphic windows on emulated
video memory, a text layer with bitmap fonts, events, menus and file panels
on Qt 6. This package holds the headers, the library links, the CMake and
pkg-config files and the reference pages.")

set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME vxtools-programs)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_DEPENDS
  "libvxtools0 (= ${VX_DEB_VERSION}), ${VX_QT_DEPENDS}, libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1")
set(CPACK_COMPONENT_PROGRAMS_DESCRIPTION "Streifenwerk, Malkasten and Textfenster, programs on vxtools
Streifenwerk draws moire fans of black and white lines in a retro graphic
window, Malkasten is a small paint program with sixteen colours and PNG files,
Textfenster shows the toolkit's text layer in an 80 x 25 character window.")
include(CPack)
