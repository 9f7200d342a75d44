# The version texts of the release, from project(VERSION) alone: "5.3" and the build "053000"
# (two digits of major, one of minor, three of patch).
set(tarvola_patch "${PROJECT_VERSION_PATCH}")
if(tarvola_patch STREQUAL "")
  set(tarvola_patch 0)
endif()
if(PROJECT_VERSION_MINOR GREATER 9 OR tarvola_patch GREATER 999 OR PROJECT_VERSION_MAJOR GREATER 99)
  message(FATAL_ERROR "The build text holds a version up to 99.9.999, not ${PROJECT_VERSION}")
endif()
set(TARVOLA_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
math(EXPR tarvola_build "${PROJECT_VERSION_MAJOR} * 10000 + ${PROJECT_VERSION_MINOR} * 1000 + ${tarvola_patch}")
string(LENGTH "${tarvola_build}" tarvola_build_length)
math(EXPR tarvola_padding "6 - ${tarvola_build_length}")
string(REPEAT "0" ${tarvola_padding} tarvola_zeros)
set(TARVOLA_BUILD_TEXT "${tarvola_zeros}${tarvola_build}")

set(TARVOLA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/src/product_identity.h.in ${TARVOLA_GENERATED_DIR}/product_identity.h @ONLY)
