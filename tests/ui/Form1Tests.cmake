# The main window's tests.
milka_ui_test(form1_layout_tests Form1LayoutTests.cpp Form1TestSupport.h)
milka_ui_test(form1_forecast_tests Form1ForecastTests.cpp Form1TestSupport.h)
milka_ui_test(form1_behaviour_tests Form1BehaviourTests.cpp Form1TestSupport.h)

# A picture of the main window for a person to look at (tools/screenshot); not a test.
add_executable(form1_screenshot EXCLUDE_FROM_ALL Form1Screenshot.cpp Form1TestSupport.h)
target_link_libraries(form1_screenshot PRIVATE ui Qt6::Test)
