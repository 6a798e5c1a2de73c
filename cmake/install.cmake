# Installation: the two shared libraries, their C headers, the Fortran include
# files, a CMake package (find_package(fgl): fgl::fgl, fgl::fglut), pkg-config
# files and the house viewer, laid out by GNUInstallDirs under the prefix.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Fortran include files, generated from the Khronos registry and the GLUT
# constant table of the generator.
set(FGL_FORTRAN_INCLUDE_DIR ${PROJECT_BINARY_DIR}/fortran/include)
set(FGL_FORTRAN_INCLUDES
  ${FGL_FORTRAN_INCLUDE_DIR}/fgl.inc
  ${FGL_FORTRAN_INCLUDE_DIR}/fglut.inc
  ${FGL_FORTRAN_INCLUDE_DIR}/fglfn.inc
  ${FGL_FORTRAN_INCLUDE_DIR}/fglutfn.inc
  ${FGL_FORTRAN_INCLUDE_DIR}/fglu.inc
  ${FGL_FORTRAN_INCLUDE_DIR}/fglufn.inc)
set(FGL_FORTRAN_CHECK_DIR ${PROJECT_BINARY_DIR}/fortran/check)
add_custom_command(
  OUTPUT ${FGL_FORTRAN_INCLUDES}
         ${FGL_FORTRAN_CHECK_DIR}/check_fortran.f ${FGL_FORTRAN_CHECK_DIR}/check_c.c
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/gen_fortran_include.py
          --registry ${FGL_REGISTRY} --glu-header ${FGLU_HEADER} --out ${FGL_FORTRAN_INCLUDE_DIR}
          --check ${FGL_FORTRAN_CHECK_DIR}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/gen_fortran_include.py ${FGL_REGISTRY} ${FGLU_HEADER}
  COMMENT "Generating the Fortran include files"
  VERBATIM)
add_custom_target(fgl_fortran_include ALL DEPENDS ${FGL_FORTRAN_INCLUDES})

# Consumers of the installed package find the headers (and the Fortran
# include files, which lie beside them) under include/.
target_include_directories(fgl_headers INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(fglut_headers INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(fglu_headers INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
set_target_properties(fgl_headers PROPERTIES EXPORT_NAME headers)
set_target_properties(fglut_headers PROPERTIES EXPORT_NAME glut_headers)
set_target_properties(fglu_headers PROPERTIES EXPORT_NAME glu_headers)
# The installed viewer finds the installed libraries wherever the prefix is.
set_target_properties(house PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")

install(TARGETS fgl fglut fgl_headers fglut_headers fglu fglu_headers
  EXPORT fglTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(TARGETS house RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(FILES
    ${PROJECT_SOURCE_DIR}/gl_binding/fgl.h
    ${FGL_GENERATED_DIR}/fgl_forward.inc
    ${FGL_GENERATED_DIR}/fgl_text.inc
    ${FGL_GENERATED_DIR}/fgl_sync.inc
    ${PROJECT_SOURCE_DIR}/glut_binding/fglut.h
    ${PROJECT_SOURCE_DIR}/glu_binding/fglu.h
    ${FGLU_GENERATED_DIR}/fglu_forward.inc
    ${FGL_FORTRAN_INCLUDES}
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)

set(FGL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/fgl)
install(EXPORT fglTargets NAMESPACE fgl:: DESTINATION ${FGL_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/fglConfig.cmake.in
  ${PROJECT_BINARY_DIR}/cmake/fglConfig.cmake
  INSTALL_DESTINATION ${FGL_CMAKE_DIR}
  PATH_VARS CMAKE_INSTALL_INCLUDEDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/cmake/fglConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/cmake/fglConfig.cmake ${PROJECT_BINARY_DIR}/cmake/fglConfigVersion.cmake
  DESTINATION ${FGL_CMAKE_DIR} COMPONENT development)

# The pkg-config files locate the prefix from their own place, so the
# installed tree may be moved or installed with --prefix.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(FGL_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH FGL_PC_UP /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
  string(REGEX REPLACE "/$" "" FGL_PC_UP "${FGL_PC_UP}")
  set(FGL_PC_PREFIX "\${pcfiledir}/${FGL_PC_UP}")
endif()
foreach(pc fgl fglut fglu)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/cmake/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/cmake/${pc}.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)
endforeach()

# The checking build of the three libraries, and its wrapper.
install(TARGETS fgl_check fglut_check fglu_check
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/fgl-check COMPONENT runtime NAMELINK_SKIP)
file(RELATIVE_PATH FGL_CHECK_LIBDIR /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR}/fgl-check)
configure_file(${PROJECT_SOURCE_DIR}/checking/fglcheck.in ${PROJECT_BINARY_DIR}/cmake/fglcheck @ONLY)
install(PROGRAMS ${PROJECT_BINARY_DIR}/cmake/fglcheck DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
