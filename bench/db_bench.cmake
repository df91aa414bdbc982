# Database layer on a generated catch database (made once in the build tree).
add_executable(tolvane_bench_db ${CMAKE_CURRENT_LIST_DIR}/db_bench.cpp)
target_link_libraries(tolvane_bench_db PRIVATE tolvane_db tolvane_picture_codec)
target_compile_definitions(tolvane_bench_db PRIVATE
  TOLVANE_SOURCE_DIR="${TOLVANE_SOURCE_DIR}"
  TOLVANE_BENCH_DATA_DIR="${CMAKE_BINARY_DIR}/bench-data")

# The totals' grouped statements beside the bare per-slot statement.
if(TARGET tolvane_totals)
  target_link_libraries(tolvane_bench_db PRIVATE tolvane_totals)
  target_compile_definitions(tolvane_bench_db PRIVATE TOLVANE_BENCH_TOTALS=1)
endif()
