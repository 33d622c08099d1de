# The start-up dialog, the splash screen and the About box.
milka_ui_test(Form3Test Form3Test.cpp)
milka_ui_test(SplashTest SplashTest.cpp)
milka_ui_test(AboutTest AboutTest.cpp)

# The system-information lookup behind the About box: plain C++, no window system.
add_executable(SysInfoTest SysInfoTest.cpp)
target_link_libraries(SysInfoTest PRIVATE sysinfo GTest::gtest_main)
set_target_properties(SysInfoTest PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
gtest_discover_tests(SysInfoTest PROPERTIES ENVIRONMENT "${MILKA_TEST_ENV}" TIMEOUT 60)
