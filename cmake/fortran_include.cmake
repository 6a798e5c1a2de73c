# The Fortran include files of constants and result types, generated from the
# Khronos registry, <GL/glu.h> and the GLUT constant tables by
# tools/gen_fortran_include.py, whose own list names the files (a new file
# there needs no change here). cmake/install.cmake installs them.
set(FGL_FORTRAN_INCLUDE_DIR ${PROJECT_BINARY_DIR}/fortran/include)
execute_process(
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/gen_fortran_include.py --list
  OUTPUT_VARIABLE fgl_include_names OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE fgl_include_result)
if(NOT fgl_include_result EQUAL 0)
  message(FATAL_ERROR "tools/gen_fortran_include.py --list failed: ${fgl_include_result}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/tools/gen_fortran_include.py)
string(REPLACE "\n" ";" FGL_FORTRAN_INCLUDE_NAMES "${fgl_include_names}")
set(FGL_FORTRAN_INCLUDES)
foreach(name ${FGL_FORTRAN_INCLUDE_NAMES})
  list(APPEND FGL_FORTRAN_INCLUDES ${FGL_FORTRAN_INCLUDE_DIR}/${name})
endforeach()
# The value-check programs: check_fortran.f (each routine includes one file),
# check_all.f (each includes fglall.inc) and check_c.c (the C headers' values).
set(FGL_FORTRAN_CHECK_DIR ${PROJECT_BINARY_DIR}/fortran/check)
add_custom_command(
  OUTPUT ${FGL_FORTRAN_INCLUDES} ${FGL_FORTRAN_CHECK_DIR}/check_fortran.f
         ${FGL_FORTRAN_CHECK_DIR}/check_all.f ${FGL_FORTRAN_CHECK_DIR}/check_c.c
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/gen_fortran_include.py
          --registry ${FGL_REGISTRY} --glu-header ${FGLU_HEADER} --out ${FGL_FORTRAN_INCLUDE_DIR}
          --check ${FGL_FORTRAN_CHECK_DIR}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/gen_fortran_include.py ${FGL_REGISTRY} ${FGLU_HEADER}
  COMMENT "Generating the Fortran include files"
  VERBATIM)
add_custom_target(fgl_fortran_include ALL DEPENDS ${FGL_FORTRAN_INCLUDES})
