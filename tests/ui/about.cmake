# Tests of the About window (included by this folder's CMakeLists.txt).
add_executable(ui_about_tests
  ${CMAKE_CURRENT_LIST_DIR}/about_form_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_gradient_test.cpp
)
target_link_libraries(ui_about_tests PRIVATE tarvola_about Tarvola::app tarvola_test_main_qt Qt6::Test GTest::gtest)
gtest_discover_tests(ui_about_tests TEST_PREFIX "ui." DISCOVERY_TIMEOUT 60
                     PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
# At 144 DPI the window is drawn at one and a half times its size; fonts may round otherwise.
add_test(NAME ui.AboutFormTest.EveryElementFitsItsBoxAt144Dpi
         COMMAND ui_about_tests --gtest_filter=AboutFormTest.EveryElementFitsItsBox)
set_tests_properties(ui.AboutFormTest.EveryElementFitsItsBoxAt144Dpi
                     PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=1.5")
