# The four windows on Qt's own Windows platform, at 100, 125 and 150 % (LogPixels 96, 120 and
# 144) on Windows 10, and at 125 % on Windows 11, each in a Wine prefix of its own that
# tests/tools/wine-test makes beside the build's (wine-prefix-96, ..., wine-prefix-120-win11), on a
# Japanese desktop. Elsewhere it is only built on request.
if(CMAKE_CROSSCOMPILING AND WIN32)
    add_executable(WindowsScreenTest WindowsScreenTest.cpp Form1TestSupport.h)
else()
    add_executable(WindowsScreenTest EXCLUDE_FROM_ALL WindowsScreenTest.cpp Form1TestSupport.h)
endif()
target_link_libraries(WindowsScreenTest PRIVATE ui Qt6::Test)
milka_ui_test_headers(WindowsScreenTest)
if(CMAKE_CROSSCOMPILING AND WIN32)
    foreach(screen 96 120 144 120-win11)
        string(REGEX MATCH "^[0-9]+" dpi ${screen})
        if(screen MATCHES "-win11$")
            set(windows 11)
        else()
            set(windows 10)
        endif()
        set(env ${MILKA_TEST_ENV})
        list(FILTER env EXCLUDE REGEX "^(LANG|LC_ALL|WINEQT_QPA_PLATFORM|WINEQT_QPA_FONTDIR)=")
        list(APPEND env "LANG=ja_JP.UTF-8" "LC_ALL=ja_JP.UTF-8" "WINEQT_QPA_PLATFORM=windows"
             "MILKA_SCREEN_DPI=${dpi}" "MILKA_SCREEN_WINDOWS=${windows}"
             "WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix-${screen}")
        # A Japanese desktop writes its console output in code page 932 (the fonts' names).
        add_test(NAME WindowsScreenTest_${screen}
                 COMMAND bash -c "set -o pipefail; \"\$0\" \"\$1\" 2>&1 | iconv -f CP932 -t UTF-8"
                         ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:WindowsScreenTest>)
        # A run that skipped is a run that checked nothing: it fails, whatever its exit code.
        set_tests_properties(WindowsScreenTest_${screen} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300
                             FAIL_REGULAR_EXPRESSION "SKIP +: ")
    endforeach()
endif()

# Where the main window and the About box land on the screens of common laptops, at each scale
# Windows offers them: the placement test of Form1Tests.cmake under Wine, on a virtual desktop
# with a 48 px panel along the bottom that the window manager keeps windows off, whose work area
# Wine passes on as the taskbar's. Each screen scale has its prefix (wine-prefix-96 ... -192); a
# prefix's Wine follows one display at a time, so its runs take turns (tools/with-desktop ends the
# prefix's Wine before and after each).
if(CMAKE_CROSSCOMPILING AND WIN32)
    foreach(dpi 96 120 144 168 192)
        math(EXPR percent "${dpi} * 100 / 96")
        set(prefix ${CMAKE_BINARY_DIR}/wine-prefix-${dpi})
        foreach(screen 1920x1080 1366x768)
            set(name form1_placement_test_wine_${screen}_${percent})
            set(env ${MILKA_TEST_ENV})
            list(FILTER env EXCLUDE REGEX "^(LANG|LC_ALL|WINEQT_QPA_PLATFORM|WINEQT_QPA_FONTDIR)=")
            list(APPEND env "LANG=ja_JP.UTF-8" "LC_ALL=ja_JP.UTF-8" "WINEQT_QPA_PLATFORM=windows"
                 "WINEPREFIX=${prefix}")
            add_test(NAME ${name}
                     COMMAND ${PROJECT_SOURCE_DIR}/tools/with-desktop --screen ${screen}x24 --panel 48
                             ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:form1_placement_test>)
            set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300
                                 RESOURCE_LOCK wine-prefix-${dpi} FAIL_REGULAR_EXPRESSION "SKIP +: ")
        endforeach()
    endforeach()
    foreach(screen 96 120 144)
        set_tests_properties(WindowsScreenTest_${screen} PROPERTIES RESOURCE_LOCK wine-prefix-${screen})
    endforeach()
endif()

# A window that refuses the session's end, for tests/tools/wine-test's log-off under Wine.
if(CMAKE_CROSSCOMPILING AND WIN32)
    add_executable(log-off-refuser WIN32 LogOffRefuser.cpp)
endif()
