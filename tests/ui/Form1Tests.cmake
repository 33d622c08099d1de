# The main window's tests.
milka_ui_test(form1_layout_tests Form1LayoutTests.cpp Form1TestSupport.h)
milka_ui_test(form1_forecast_tests Form1ForecastTests.cpp Form1TestSupport.h)
milka_ui_test(form1_behaviour_tests Form1BehaviourTests.cpp Form1TestSupport.h)

# A picture of the main window for a person to look at (tools/screenshot); not a test.
add_executable(form1_screenshot EXCLUDE_FROM_ALL Form1Screenshot.cpp Form1TestSupport.h)
target_link_libraries(form1_screenshot PRIVATE ui Qt6::Test)
milka_ui_test_headers(form1_screenshot)

# Placement by a real window manager, on a virtual X display with openbox and a 48 px panel along
# the bottom that it keeps windows off, as a taskbar (tools/with-desktop): on the screens of
# common laptops, at each scale Windows offers them.
add_executable(form1_placement_test Form1PlacementTest.cpp Form1TestSupport.h)
target_link_libraries(form1_placement_test PRIVATE ui Qt6::Test)
milka_ui_test_headers(form1_placement_test)
# Not in the sanitizer build: on X11 Qt talks to D-Bus, and libdbus leaks a buffer there that
# LeakSanitizer reports although no code of ours is involved.
if(NOT CMAKE_CROSSCOMPILING AND NOT MILKA_SANITIZE)
    foreach(screen 1920x1080 1366x768)
        foreach(percent 100 125 150 175 200)
            math(EXPR whole "${percent} / 100")
            math(EXPR hundredths "${percent} % 100")
            set(name form1_placement_test_${screen}_${percent})
            add_test(NAME ${name}
                     COMMAND ${PROJECT_SOURCE_DIR}/tools/with-desktop --screen ${screen}x24 --panel 48
                             $<TARGET_FILE:form1_placement_test>)
            set_tests_properties(${name} PROPERTIES
                ENVIRONMENT "QT_QPA_PLATFORM=xcb;LANG=C.UTF-8;LC_ALL=C.UTF-8;TZ=Asia/Tokyo;QT_SCALE_FACTOR=${whole}.${hundredths}"
                TIMEOUT 120)
        endforeach()
    endforeach()
endif()
