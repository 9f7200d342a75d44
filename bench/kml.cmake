# The conversion benchmark (bench/run.sh runs it on the generated 1,000,000-point file).
add_executable(tarvola_bench_convert convert_bench.cpp)
target_include_directories(tarvola_bench_convert PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tarvola_bench_convert PRIVATE Tarvola::kml Tarvola::gps Tarvola::zip
                      Tarvola::options pugixml::pugixml ZLIB::ZLIB)
