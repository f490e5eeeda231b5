# Benchmark programs are added here.

# Large DI through DI.xtr and ADICAO.xtr against a plain parse: time ratio and peak memory.
add_executable(xml_transform_bench ${CMAKE_CURRENT_LIST_DIR}/XmlTransformBench.cpp)
target_link_libraries(xml_transform_bench PRIVATE pelomira_core)
target_compile_definitions(xml_transform_bench PRIVATE PELOMIRA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
