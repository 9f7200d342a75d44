# The About window (included by this folder's CMakeLists.txt).
add_library(tarvola_about STATIC
  ${CMAKE_CURRENT_LIST_DIR}/about_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_gradient.cpp
)
if(TARVOLA_ARTWORK_PNG)
  tarvola_add_png_artwork(tarvola_about ${PROJECT_SOURCE_DIR}/resources/about/about.qrc)
else()
  target_sources(tarvola_about PRIVATE ${PROJECT_SOURCE_DIR}/resources/about/about.qrc)
endif()
tarvola_platform_sources(tarvola_about WINDOWS ${CMAKE_CURRENT_LIST_DIR}/about_glass_win.cpp
                                       OTHER ${CMAKE_CURRENT_LIST_DIR}/about_glass_other.cpp)
add_library(Tarvola::about ALIAS tarvola_about)
target_include_directories(tarvola_about PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(tarvola_about PUBLIC Tarvola::options tarvola_ui_prompts Qt6::Widgets
                      PRIVATE Tarvola::ui)
