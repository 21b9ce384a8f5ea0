# Import benchmark: builds a work folder with many teachers and lessons (default
# 1,500 teachers, 60,000 lessons) and times the import three times beside its floor
# (libxml2 parsing the document and the result, reading the tables' bytes).
#   <build>/bin/bench_importacion [teachers] [lessons]
add_executable(bench_importacion ${CMAKE_CURRENT_LIST_DIR}/importacion/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MesaImportacion.cpp ${CMAKE_CURRENT_LIST_DIR}/MesaImportacion.h
  ${CMAKE_CURRENT_LIST_DIR}/Medicion.h)
target_link_libraries(bench_importacion PRIVATE varnolo_core LibXml2::LibXml2)
set_target_properties(bench_importacion PROPERTIES AUTOUIC OFF)
