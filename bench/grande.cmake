# bench_grande: one import of a SOLUC with many lessons (default 1,000,000), with the
# time, the process's peak memory and a floor measured in the same run (POSIX only).
#   <build>/bin/bench_grande [lessons] [teachers]
if(UNIX)
  add_executable(bench_grande ${CMAKE_CURRENT_LIST_DIR}/grande/main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grande/PicoMemoria.h ${CMAKE_CURRENT_LIST_DIR}/MesaImportacion.cpp ${CMAKE_CURRENT_LIST_DIR}/MesaImportacion.h)
  target_link_libraries(bench_grande PRIVATE varnolo_core LibXml2::LibXml2)
  set_target_properties(bench_grande PROPERTIES AUTOUIC OFF)
endif()

# bench_grande_exportacion: one export of a generated district document (scale 26 is
# about 200 MB), with the time, the peak memory and the floor of the same run.
#   <build>/bin/bench_grande_exportacion [scale]
if(UNIX)
  add_executable(bench_grande_exportacion ${CMAKE_CURRENT_LIST_DIR}/grande/exportar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grande/PicoMemoria.h ${CMAKE_CURRENT_LIST_DIR}/GeneradorDocumentos.cpp)
  target_link_libraries(bench_grande_exportacion PRIVATE varnolo_core LibXml2::LibXml2)
  set_target_properties(bench_grande_exportacion PROPERTIES AUTOUIC OFF)
  add_dependencies(bench_grande_exportacion nivelcan)
endif()
