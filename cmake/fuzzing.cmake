# libFuzzer targets of the loader and the conversion (scripts/fuzz.sh). With them the core
# libraries they exercise are instrumented too. Clang only.
option(TARVOLA_FUZZ "Build the libFuzzer targets of the loader and the conversion (clang only)" OFF)
set(TARVOLA_FUZZING OFF)
if(TARVOLA_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(TARVOLA_FUZZING ON)
endif()
set(tarvola_fuzz_sanitizers address,undefined)

# A core library that a fuzz target exercises.
function(tarvola_fuzz_instrument target)
  if(TARVOLA_FUZZING)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,${tarvola_fuzz_sanitizers})
  endif()
endfunction()

# A fuzz target from SOURCE linked with the LIBRARIES after it.
function(tarvola_add_fuzzer name source)
  if(TARVOLA_FUZZING)
    add_executable(${name} ${source})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,${tarvola_fuzz_sanitizers})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,${tarvola_fuzz_sanitizers})
    target_link_libraries(${name} PRIVATE ${ARGN})
  endif()
endfunction()
