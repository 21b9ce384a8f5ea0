# bench_exportacion: generates a large exchange document in a temporary folder, runs
# export steps 1 to 6 over it and prints the time of each step.
add_executable(bench_exportacion ${CMAKE_CURRENT_LIST_DIR}/BenchExportacion.cpp)
target_link_libraries(bench_exportacion PRIVATE varnolo_core)
set_target_properties(bench_exportacion PROPERTIES AUTOUIC OFF)
add_dependencies(bench_exportacion nivelcan)
