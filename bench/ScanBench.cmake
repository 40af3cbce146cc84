# The scan bench: a full scan and a rescan of a generated tree of 100,000 files in 5,000
# folders, against the floor of a bare walk plus a bare bulk insert. The tree is generated once
# under the build folder's benchdata.
if(NOT DEFINED CV_BENCH_DATA)
  set(CV_BENCH_DATA "${CMAKE_BINARY_DIR}/benchdata")
  string(REPLACE "/" "\\" CV_BENCH_DATA_WINE "Z:${CV_BENCH_DATA}")
endif()

add_executable(scan_bench ${CMAKE_CURRENT_LIST_DIR}/ScanBench.cpp)
target_compile_options(scan_bench PRIVATE ${CV_WARNINGS} -municode)
target_link_options(scan_bench PRIVATE ${CV_STATIC_LINK} -municode)
target_link_libraries(scan_bench PRIVATE cvcore)

add_custom_target(run_scan_bench
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CV_BENCH_DATA}
  COMMAND ${CMAKE_COMMAND} -E env CV_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix
          ${CMAKE_SOURCE_DIR}/tools/wine/with-display.sh
          ${CMAKE_SOURCE_DIR}/tools/wine/run-wine.sh $<TARGET_FILE:scan_bench> ${CV_BENCH_DATA_WINE}
  DEPENDS scan_bench
  USES_TERMINAL
  VERBATIM)
# One bench at a time: they share the Wine prefix, and figures taken side by side mean nothing.
if(TARGET run_listing_bench)
  add_dependencies(run_scan_bench run_listing_bench)
endif()
add_dependencies(bench run_scan_bench)
