# Fetches the SQLite amalgamation from a pinned npm package, checks it by hash, and builds it
# as a static library. Nothing of SQLite is kept in the repository.
set(CV_SQLITE_PACKAGE "better-sqlite3@12.11.1")
set(CV_SQLITE_SHA256 "ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835")
set(CV_SQLITE_DIR "${CMAKE_BINARY_DIR}/_deps/sqlite")
set(CV_SQLITE_TGZ "${CV_SQLITE_DIR}/better-sqlite3-12.11.1.tgz")

if(NOT EXISTS "${CV_SQLITE_DIR}/package/deps/sqlite3/sqlite3.c")
  file(MAKE_DIRECTORY "${CV_SQLITE_DIR}")
  if(NOT EXISTS "${CV_SQLITE_TGZ}")
    message(STATUS "Fetching ${CV_SQLITE_PACKAGE} with npm pack")
    execute_process(COMMAND npm pack ${CV_SQLITE_PACKAGE} --silent
                    WORKING_DIRECTORY "${CV_SQLITE_DIR}" RESULT_VARIABLE rc OUTPUT_QUIET)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "npm pack ${CV_SQLITE_PACKAGE} failed (${rc})")
    endif()
  endif()
  file(SHA256 "${CV_SQLITE_TGZ}" got)
  if(NOT got STREQUAL CV_SQLITE_SHA256)
    file(REMOVE "${CV_SQLITE_TGZ}")
    message(FATAL_ERROR "${CV_SQLITE_TGZ}: SHA-256 ${got}, expected ${CV_SQLITE_SHA256}")
  endif()
  file(ARCHIVE_EXTRACT INPUT "${CV_SQLITE_TGZ}" DESTINATION "${CV_SQLITE_DIR}"
       PATTERNS package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h)
endif()

add_library(sqlite3 STATIC "${CV_SQLITE_DIR}/package/deps/sqlite3/sqlite3.c")
target_include_directories(sqlite3 SYSTEM PUBLIC "${CV_SQLITE_DIR}/package/deps/sqlite3")
# Every use of a connection holds the process-wide database lock, so SQLite's own mutex on each
# call (two per column read, a million rows a listing) is left out: multi-thread mode, where a
# connection is never used by two threads at once.
# carray() takes the search index's proposal as bound numbers, which no text has to carry.
target_compile_definitions(sqlite3 PUBLIC SQLITE_THREADSAFE=2 PRIVATE SQLITE_OMIT_LOAD_EXTENSION SQLITE_ENABLE_FTS5
                           SQLITE_ENABLE_CARRAY SQLITE_DEFAULT_MEMSTATUS=0)
target_compile_options(sqlite3 PRIVATE -w -O2)
