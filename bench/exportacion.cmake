# bench_exportacion: generates exchange documents (a large school, a district, the
# district at twice its size), exports each three times beside the floor of parsing
# it with libxml2 alone, and prints the medians and their ratio.
add_executable(bench_exportacion ${CMAKE_CURRENT_LIST_DIR}/BenchExportacion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GeneradorDocumentos.cpp ${CMAKE_CURRENT_LIST_DIR}/GeneradorDocumentos.h
  ${CMAKE_CURRENT_LIST_DIR}/Medicion.h)
target_link_libraries(bench_exportacion PRIVATE varnolo_core LibXml2::LibXml2)
set_target_properties(bench_exportacion PROPERTIES AUTOUIC OFF)
add_dependencies(bench_exportacion nivelcan)
