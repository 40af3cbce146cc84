# Builds UnacTableGenerator with the host compiler against Debian's libunac and runs it to
# generate the accent-folding tables for cvcore and libunac's reference output for db_tests.
find_program(CV_HOST_CXX NAMES c++ g++ REQUIRED)
set(CV_UNAC_INCLUDE_DIR /usr/include CACHE PATH "Folder holding libunac's unac.h")
set(CV_UNAC_LIBRARY /usr/lib/x86_64-linux-gnu/libunac.a CACHE FILEPATH "Host libunac to read the tables from")
if(NOT EXISTS "${CV_UNAC_INCLUDE_DIR}/unac.h" OR NOT EXISTS "${CV_UNAC_LIBRARY}")
  message(FATAL_ERROR "libunac not found (${CV_UNAC_LIBRARY}); install Debian's libunac1-dev")
endif()

set(CV_UNAC_GENERATOR_SOURCE "${CMAKE_CURRENT_LIST_DIR}/UnacTableGenerator.cpp")
set(CV_UNAC_GENERATOR "${CMAKE_BINARY_DIR}/host/UnacTableGenerator")
set(CV_UNAC_TABLES_SOURCE "${CMAKE_BINARY_DIR}/generated/UnacTables.cpp")
set(CV_UNAC_REFERENCE_SOURCE "${CMAKE_BINARY_DIR}/generated/UnacReference.cpp")

# The cross toolchain cannot build a program that runs here, so the generator is compiled by
# a plain command rather than as a CMake target.
add_custom_command(
  OUTPUT "${CV_UNAC_GENERATOR}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/host"
  COMMAND "${CV_HOST_CXX}" -std=c++17 -O2 -Wall -Wextra -I "${CV_UNAC_INCLUDE_DIR}"
          -o "${CV_UNAC_GENERATOR}" "${CV_UNAC_GENERATOR_SOURCE}" "${CV_UNAC_LIBRARY}"
  DEPENDS "${CV_UNAC_GENERATOR_SOURCE}" "${CV_UNAC_LIBRARY}" "${CV_UNAC_INCLUDE_DIR}/unac.h"
  COMMENT "Building UnacTableGenerator for the host"
  VERBATIM)
add_custom_command(
  OUTPUT "${CV_UNAC_TABLES_SOURCE}" "${CV_UNAC_REFERENCE_SOURCE}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/generated"
  COMMAND "${CV_UNAC_GENERATOR}" "${CV_UNAC_TABLES_SOURCE}" "${CV_UNAC_REFERENCE_SOURCE}"
  DEPENDS "${CV_UNAC_GENERATOR}"
  COMMENT "Generating the accent-folding tables from libunac"
  VERBATIM)
add_custom_target(cv_unac_tables DEPENDS "${CV_UNAC_TABLES_SOURCE}" "${CV_UNAC_REFERENCE_SOURCE}")

# cvcore lists the tables as a source and so carries the same rules; were it free to build
# alongside cv_unac_tables, make -j would run the generator twice into the same files. The
# library is declared after this file is read, hence the deferred call.
cmake_language(DEFER CALL add_dependencies cvcore cv_unac_tables)
