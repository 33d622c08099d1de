# Start-up as a whole: splash, data-check dialog, scan and the window's first state.
milka_ui_test(StartupTest StartupTest.cpp)
target_link_libraries(StartupTest PRIVATE milka_startup)
