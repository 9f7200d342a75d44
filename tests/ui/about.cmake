# Tests of the About window (included by this folder's CMakeLists.txt).
add_executable(ui_about_tests
  ${CMAKE_CURRENT_LIST_DIR}/about_form_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_gradient_test.cpp
)
target_link_libraries(ui_about_tests PRIVATE tarvola_about tarvola_test_main_qt Qt6::Test GTest::gtest)
gtest_discover_tests(ui_about_tests TEST_PREFIX "ui." DISCOVERY_TIMEOUT 60
                     PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
