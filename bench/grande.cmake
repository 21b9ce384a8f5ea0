# bench_grande: one import of a SOLUC with many lessons (default 1,000,000), with the
# time, the process's peak memory and a floor measured in the same run (POSIX only).
#   <build>/bin/bench_grande [lessons] [teachers]
if(UNIX)
  add_executable(bench_grande ${CMAKE_CURRENT_LIST_DIR}/grande/main.cpp)
  target_link_libraries(bench_grande PRIVATE varnolo_core LibXml2::LibXml2)
  set_target_properties(bench_grande PROPERTIES AUTOUIC OFF)
endif()
