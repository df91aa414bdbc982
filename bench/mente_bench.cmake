# The maintenance window over the generated catch database and a generated
# memo database of 3,000 memos.
if(TARGET tolvane_maintenance)
  add_executable(tolvane_bench_mente ${CMAKE_CURRENT_LIST_DIR}/mente_bench.cpp)
  target_link_libraries(tolvane_bench_mente PRIVATE tolvane_maintenance)
  target_compile_definitions(tolvane_bench_mente PRIVATE
    TOLVANE_SOURCE_DIR="${TOLVANE_SOURCE_DIR}"
    TOLVANE_BENCH_DATA_DIR="${CMAKE_BINARY_DIR}/bench-data")
endif()
