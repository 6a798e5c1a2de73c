# LLVM Flang for the test programs: FGL_FLANG (the driver), FGL_FLANG_RUNTIME_DIR
# (its runtime libraries, lib/ beside its bin/, which its driver does not name
# on the link line) and FGL_FLANG_SANITIZE (in the sanitizer build: GCC's
# sanitizer runtimes, which Flang programs must load first to use the
# sanitized libraries; Flang has no runtime of its own for them here).
find_program(FGL_FLANG NAMES flang-new-16 flang-new REQUIRED)
get_filename_component(flang_real ${FGL_FLANG} REALPATH)
get_filename_component(flang_bin ${flang_real} DIRECTORY)
get_filename_component(FGL_FLANG_RUNTIME_DIR ${flang_bin}/../lib ABSOLUTE)
if(NOT EXISTS ${FGL_FLANG_RUNTIME_DIR}/libFortranRuntime.a)
  message(FATAL_ERROR "Flang's runtime library is not in ${FGL_FLANG_RUNTIME_DIR}")
endif()
set(FGL_FLANG_SANITIZE)
if(FGL_SANITIZE)
  foreach(runtime libasan.so libubsan.so)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    list(APPEND FGL_FLANG_SANITIZE ${path})
  endforeach()
endif()
