# The main window's tests.
milka_ui_test(form1_layout_tests Form1LayoutTests.cpp Form1TestSupport.h)
milka_ui_test(form1_forecast_tests Form1ForecastTests.cpp Form1TestSupport.h)
milka_ui_test(form1_behaviour_tests Form1BehaviourTests.cpp Form1TestSupport.h)

# A picture of the main window for a person to look at (tools/screenshot); not a test.
add_executable(form1_screenshot EXCLUDE_FROM_ALL Form1Screenshot.cpp Form1TestSupport.h)
target_link_libraries(form1_screenshot PRIVATE ui Qt6::Test)
milka_ui_test_headers(form1_screenshot)

# Placement by a real window manager: on a virtual X display with openbox (tools/with-desktop).
add_executable(form1_placement_test Form1PlacementTest.cpp Form1TestSupport.h)
target_link_libraries(form1_placement_test PRIVATE ui Qt6::Test)
milka_ui_test_headers(form1_placement_test)
# Not in the sanitizer build: on X11 Qt talks to D-Bus, and libdbus leaks a buffer there that
# LeakSanitizer reports although no code of ours is involved.
if(NOT CMAKE_CROSSCOMPILING AND NOT MILKA_SANITIZE)
    add_test(NAME form1_placement_test
             COMMAND ${PROJECT_SOURCE_DIR}/tools/with-desktop $<TARGET_FILE:form1_placement_test>)
    set_tests_properties(form1_placement_test PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=xcb;LANG=C.UTF-8;LC_ALL=C.UTF-8;TZ=Asia/Tokyo;QT_SCALE_FACTOR=1"
        TIMEOUT 120)
endif()
