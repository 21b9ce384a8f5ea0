# bench_tiempos: the timings that the tests leave out (a large table opened, many
# records selected, an entity bomb refused), each printed beside a floor measured
# in the same run on the same machine, so that the ratio means something.
#   <build>/bin/bench_tiempos
add_executable(bench_tiempos ${CMAKE_CURRENT_LIST_DIR}/tiempos/main.cpp)
target_link_libraries(bench_tiempos PRIVATE varnolo_core)
set_target_properties(bench_tiempos PROPERTIES AUTOUIC OFF)
