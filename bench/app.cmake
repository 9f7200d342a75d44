# The window with large files (offscreen): open, and "Expand items".
add_executable(tarvola_bench_window window_bench.cpp)
target_include_directories(tarvola_bench_window PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tarvola_bench_window PRIVATE Tarvola::app Tarvola::options)
