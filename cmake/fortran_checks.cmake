# Call checking for Fortran programs: f2c prototype files (fgl.P, fglut.P,
# fglu.P), the modules FGL, FGLUT and FGLU for each Fortran compiler found,
# and the entry reference, all generated from the layers' declarations by
# tools/gen_fortran_checks.py.
set(FGL_CHECKS_DIR ${PROJECT_BINARY_DIR}/fortran/checks)
set(FGL_LAYERS fgl fglut fglu)
set(FGL_CHECKS_OUTPUTS ${FGL_CHECKS_DIR}/entries.tsv ${FGL_CHECKS_DIR}/entries.md)
foreach(layer ${FGL_LAYERS})
  list(APPEND FGL_CHECKS_OUTPUTS ${FGL_CHECKS_DIR}/${layer}.P
    ${FGL_CHECKS_DIR}/gfortran/${layer}.f90 ${FGL_CHECKS_DIR}/flang/${layer}.f90)
endforeach()
set(FGL_CHECKS_HEADERS ${PROJECT_SOURCE_DIR}/gl_binding/fgl.h ${PROJECT_SOURCE_DIR}/glut_binding/fglut.h
  ${PROJECT_SOURCE_DIR}/glu_binding/fglu.h)
add_custom_command(
  OUTPUT ${FGL_CHECKS_OUTPUTS}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/gen_fortran_checks.py
          --cc ${CMAKE_C_COMPILER}
          --include ${PROJECT_SOURCE_DIR}/gl_binding --include ${PROJECT_SOURCE_DIR}/glut_binding
          --include ${PROJECT_SOURCE_DIR}/glu_binding --include ${FGL_GENERATED_DIR}
          --include ${FGLU_GENERATED_DIR}
          --header ${PROJECT_SOURCE_DIR}/gl_binding/fgl.h --header ${PROJECT_SOURCE_DIR}/glut_binding/fglut.h
          --header ${PROJECT_SOURCE_DIR}/glu_binding/fglu.h
          --generated-list ${FGL_GENERATED_DIR}/fgl_forward.inc
          --generated-list ${FGLU_GENERATED_DIR}/fglu_forward.inc
          --inc-dir ${FGL_FORTRAN_INCLUDE_DIR} --out ${FGL_CHECKS_DIR}
          --reference ${FGL_CHECKS_DIR}/entries.md
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/gen_fortran_checks.py ${FGL_CHECKS_HEADERS}
          ${FGL_GENERATED_DIR}/fgl_forward.inc ${FGL_GENERATED_DIR}/gl_commands.inc
          ${FGLU_GENERATED_DIR}/fglu_forward.inc ${FGL_FORTRAN_INCLUDES}
  COMMENT "Generating the Fortran modules, f2c prototype files and entry reference"
  VERBATIM)
add_custom_target(fgl_fortran_checks ALL DEPENDS ${FGL_CHECKS_OUTPUTS})
install(FILES ${FGL_CHECKS_DIR}/fgl.P ${FGL_CHECKS_DIR}/fglut.P ${FGL_CHECKS_DIR}/fglu.P
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)

# The modules, compiled by each Fortran compiler found (.mod files are not
# portable between compilers) into build/fortran/modules/<compiler> and
# installed with their sources into include/fortran/<compiler>.
find_program(FGL_MODULE_GFORTRAN NAMES gfortran)
find_program(FGL_MODULE_FLANG NAMES flang-new-16 flang-new flang-16)
set(FGL_MODULE_COMPILERS)
foreach(compiler gfortran flang)
  string(TOUPPER ${compiler} upper)
  set(exe ${FGL_MODULE_${upper}})
  if(NOT exe)
    continue()
  endif()
  list(APPEND FGL_MODULE_COMPILERS ${compiler})
  set(dir ${PROJECT_BINARY_DIR}/fortran/modules/${compiler})
  file(MAKE_DIRECTORY ${dir})
  if(compiler STREQUAL "gfortran")
    set(moddir_flag -J${dir})
  else()
    set(moddir_flag -module-dir ${dir})
  endif()
  set(mods)
  foreach(layer ${FGL_LAYERS})
    list(APPEND mods ${dir}/${layer}.mod)
  endforeach()
  set(sources)
  set(commands)
  foreach(layer ${FGL_LAYERS})
    list(APPEND sources ${FGL_CHECKS_DIR}/${compiler}/${layer}.f90)
    list(APPEND commands COMMAND ${exe} -c ${moddir_flag} ${FGL_CHECKS_DIR}/${compiler}/${layer}.f90
                                 -o ${dir}/${layer}.o)
  endforeach()
  add_custom_command(
    OUTPUT ${mods}
    ${commands}
    WORKING_DIRECTORY ${dir}
    DEPENDS ${sources}
    COMMENT "Compiling the Fortran modules with ${compiler}"
    VERBATIM)
  add_custom_target(fgl_fortran_modules_${compiler} ALL DEPENDS ${mods})
  install(FILES ${mods} ${sources} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/fortran/${compiler}
    COMPONENT development)
endforeach()
