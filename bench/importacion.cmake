# Import benchmark: builds a work folder with many teachers and lessons (default
# 1,500 teachers, 60,000 lessons) and times one import over it.
#   <build>/bin/bench_importacion [teachers] [lessons]
add_executable(bench_importacion ${CMAKE_CURRENT_LIST_DIR}/importacion/main.cpp)
target_link_libraries(bench_importacion PRIVATE varnolo_core)
set_target_properties(bench_importacion PROPERTIES AUTOUIC OFF)
