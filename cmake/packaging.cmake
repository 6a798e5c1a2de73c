# Debian packages of the install, made by CPack from the install components
# (cmake --build build --target package):
#   libfgl1     component runtime: libfgl, libfglut, libfglu and the viewer
#   libfgl-dev  component development: headers, Fortran include files,
#               prototype files, modules, pkg-config and CMake files, examples
#   fgl-check   component checking: the checking build and fglcheck
# Each package carries its copyright file and changelog in
# share/doc/<package>/, as Debian's packages do; the version has no Debian
# revision (the packages are made here, from this tree: native packages), so
# the changelog is changelog.gz.
include(GNUInstallDirs)

set(FGL_DEB_RUNTIME libfgl${PROJECT_VERSION_MAJOR})
set(FGL_DEB_DEVELOPMENT libfgl-dev)
set(FGL_DEB_CHECKING fgl-check)
set(FGL_DEB_SOURCE fgl)
set(CPACK_PACKAGE_CONTACT "fgl developers <dev@fgl.invalid>")

# The example programs, for the development package.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/fortran/examples/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${FGL_DEB_DEVELOPMENT}/examples COMPONENT development)

# The manual pages of fglcheck and of the viewer, compressed as man reads it (gzip -n: the same
# bytes on every build).
find_program(FGL_GZIP gzip REQUIRED)
set(FGL_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)
foreach(page checking/fglcheck viewer/house)
  get_filename_component(name ${page} NAME)
  add_custom_command(OUTPUT ${FGL_PACKAGING_DIR}/${name}.1.gz
    COMMAND ${FGL_GZIP} -9n -c ${PROJECT_SOURCE_DIR}/${page}.1 > ${FGL_PACKAGING_DIR}/${name}.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/${page}.1
    COMMENT "Compressing the manual page of ${name}")
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${FGL_PACKAGING_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${FGL_PACKAGING_DIR}/changelog.gz
  COMMAND ${FGL_GZIP} -9n -c ${FGL_PACKAGING_DIR}/changelog > ${FGL_PACKAGING_DIR}/changelog.gz
  DEPENDS ${FGL_PACKAGING_DIR}/changelog)
add_custom_target(fgl_packaging_files ALL
  DEPENDS ${FGL_PACKAGING_DIR}/fglcheck.1.gz ${FGL_PACKAGING_DIR}/house.1.gz ${FGL_PACKAGING_DIR}/changelog.gz)
install(FILES ${FGL_PACKAGING_DIR}/fglcheck.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT checking)
install(FILES ${FGL_PACKAGING_DIR}/house.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)

foreach(component runtime development checking)
  string(TOUPPER ${component} upper)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${FGL_PACKAGING_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${FGL_DEB_${upper}} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${FGL_DEB_SOURCE})
set(CPACK_PACKAGE_VENDOR "fgl developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime development checking)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE ${FGL_DEB_SOURCE})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries' own dependencies (libc, libstdc++, freeglut, libGL, libGLU)
# from dpkg-shlibdeps; the packages' dependencies on each other, at the same
# version, from the component dependencies below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${FGL_DEB_RUNTIME})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# A shlibs file for the public libraries (for dpkg-shlibdeps of programs
# built against them), and the ldconfig trigger that Debian's library
# packages activate.
# packages activate. Written here rather than by CPack, which would declare
# the same sonames for the checking build's copies too.
set(shlibs "")
foreach(lib fgl fglut fglu)
  string(APPEND shlibs "lib${lib} ${PROJECT_VERSION_MAJOR} ${FGL_DEB_RUNTIME} (>= ${PROJECT_VERSION})\n")
endforeach()
file(WRITE ${FGL_PACKAGING_DIR}/shlibs ${shlibs})
file(WRITE ${FGL_PACKAGING_DIR}/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${FGL_PACKAGING_DIR}/shlibs ${FGL_PACKAGING_DIR}/triggers)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
"OpenGL, GLU and GLUT for Fortran callers (shared libraries)
libfgl (OpenGL 1.0 to 1.3), libfglut (GLUT on freeglut) and libfglu (GLU
on Mesa's libGLU) take every argument by address, integer data in 1-, 2-
or 4-byte storage and text as CHARACTER or packed words, so that programs
compiled by gfortran, LLVM Flang or f2c call OpenGL directly.
.
This package holds the shared libraries and the house viewer.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${FGL_DEB_DEVELOPMENT})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
# The C headers include OpenGL's, GLU's and freeglut's; f2c programs link
# the f2c runtime.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libgl-dev, libglu1-mesa-dev, freeglut3-dev")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SUGGESTS "gfortran | flang-16, f2c, libf2c2-dev")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
"OpenGL, GLU and GLUT for Fortran callers (development files)
libfgl, libfglut and libfglu make OpenGL, GLU and GLUT callable the way
Fortran passes arguments, from programs compiled by gfortran, LLVM Flang
or f2c.
.
This package holds the C headers, the Fortran include files of constants,
the f2c prototype files, the modules FGL, FGLUT and FGLU for gfortran and
for LLVM Flang 16, the pkg-config files, the CMake package and the example
programs.")

set(CPACK_DEBIAN_CHECKING_PACKAGE_NAME ${FGL_DEB_CHECKING})
set(CPACK_DEBIAN_CHECKING_PACKAGE_SECTION devel)
set(CPACK_COMPONENT_CHECKING_DEPENDS runtime)
# addr2line names the routine and line of a call under FGL_CHECK=abort.
set(CPACK_DEBIAN_CHECKING_PACKAGE_RECOMMENDS binutils)
set(CPACK_COMPONENT_CHECKING_DESCRIPTION
"OpenGL, GLU and GLUT for Fortran callers (checking build)
A second build of libfgl, libfglut and libfglu that checks every call: an
INTEGER passed for a REAL or DOUBLE PRECISION, item counts smaller than
what OpenGL reads, OpenGL errors, bad GLUT font codes, window and menu
numbers, GLU handles. fglcheck runs any program built against the
ordinary libraries with these, without rebuilding it.")

include(CPack)
