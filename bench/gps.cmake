# GPX generator and the load benchmark (bench/run.sh runs them).
add_executable(tarvola_gpx_generator gpx_generator.cpp)
target_link_libraries(tarvola_gpx_generator PRIVATE Tarvola::options)

add_executable(tarvola_bench_load load_bench.cpp)
target_include_directories(tarvola_bench_load PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tarvola_bench_load PRIVATE Tarvola::gps Tarvola::options pugixml::pugixml)
