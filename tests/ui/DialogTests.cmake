# The start-up dialog, the splash screen and the About box.
milka_ui_test(Form3Test Form3Test.cpp)
milka_ui_test(SplashTest SplashTest.cpp)
milka_ui_test(AboutTest AboutTest.cpp)
