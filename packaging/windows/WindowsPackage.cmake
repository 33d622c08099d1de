# The Windows folder a user unpacks and runs (tools/package-windows zips it): milka.exe, the Qt
# DLLs it uses, the platform, style and icon plugins, the MinGW runtime DLLs, Qt's Japanese
# translation and a short Japanese read-me; tools/package-windows adds LICENSES\. Nothing else:
# no tests, no debug files.
#
# The same DLLs and plugins are copied beside the build's programs (bin/) when configuring, so
# the test programs run under Wine with the libraries the program ships with; the tests also
# get the offscreen platform, which the program does not ship.

if(NOT DEFINED QT6_INSTALL_PREFIX)
    message(FATAL_ERROR "Qt for Windows not found: set MILKA_QT_WINDOWS (tools/build-qt-windows)")
endif()
set(_qt ${QT6_INSTALL_PREFIX})
set(_qtDlls ${_qt}/bin/Qt6Core.dll ${_qt}/bin/Qt6Gui.dll ${_qt}/bin/Qt6Widgets.dll)

# The MinGW runtime the compiler links against, wherever this Debian keeps it.
set(_runtime)
foreach(_dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_dll}
                    OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${_path}" OR NOT EXISTS "${_path}")
        message(FATAL_ERROR "MinGW runtime DLL not found: ${_dll}")
    endif()
    list(APPEND _runtime ${_path})
endforeach()

# Qt's Japanese translation is the same file on every platform; Debian ships it.
find_file(MILKA_QTBASE_JA qtbase_ja.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)

set(_plugins ${_qt}/plugins)
# The Windows styles: qwindowsvistastyle.dll up to Qt 6.6, qmodernwindowsstyle.dll from 6.7.
if(Qt6_VERSION VERSION_LESS 6.7)
    set(_stylePlugin styles/qwindowsvistastyle.dll)
else()
    set(_stylePlugin styles/qmodernwindowsstyle.dll)
endif()
set(_shippedPlugins platforms/qwindows.dll ${_stylePlugin} imageformats/qico.dll)

# Beside the build's programs, for the tests.
set(_bin ${CMAKE_BINARY_DIR}/bin)
file(COPY ${_qtDlls} ${_qt}/bin/Qt6Test.dll ${_runtime} DESTINATION ${_bin})
foreach(_plugin ${_shippedPlugins} platforms/qoffscreen.dll)
    get_filename_component(_folder ${_plugin} DIRECTORY)
    file(COPY ${_plugins}/${_plugin} DESTINATION ${_bin}/${_folder})
endforeach()
file(COPY ${MILKA_QTBASE_JA} DESTINATION ${_bin}/translations)

# The folder the user unpacks.
install(TARGETS milka RUNTIME DESTINATION .)
install(FILES ${_qtDlls} ${_runtime} DESTINATION .)
foreach(_plugin ${_shippedPlugins})
    get_filename_component(_folder ${_plugin} DIRECTORY)
    install(FILES ${_plugins}/${_plugin} DESTINATION ${_folder})
endforeach()
install(FILES ${MILKA_QTBASE_JA} DESTINATION translations)
# What the read-me says of each shipped library: its version, and the Debian source package it
# comes from, as this machine has them; and the options Qt for Windows was configured with.
function(milka_debian_source binary prefix)
    execute_process(COMMAND dpkg-query -W [=[-f=${source:Package}\n${source:Version}\n${Version}]=] ${binary}
                    OUTPUT_VARIABLE _out RESULT_VARIABLE _status)
    if(NOT _status EQUAL 0)
        message(FATAL_ERROR "dpkg-query does not know ${binary}, which the Windows build uses")
    endif()
    string(REPLACE "\n" ";" _out "${_out}")
    list(GET _out 0 _source)
    list(GET _out 1 _sourceVersion)
    list(GET _out 2 _version)
    set(${prefix}_DEBIAN_SOURCE ${_source} PARENT_SCOPE)
    set(${prefix}_DEBIAN_VERSION ${_sourceVersion} PARENT_SCOPE)
    set(${prefix}_PACKAGE_VERSION ${_version} PARENT_SCOPE)
endfunction()
milka_debian_source(qt6-base-dev-tools MILKA_QT)
milka_debian_source(gcc-mingw-w64-x86-64-posix-runtime MILKA_GCC)
milka_debian_source(mingw-w64-x86-64-dev MILKA_MINGW)
milka_debian_source(qt6-translations-l10n MILKA_QTTR)
set(MILKA_QT_VERSION ${Qt6_VERSION})
# 12.2.0-14+deb12u1+25.2+b1: GCC 12.2.0 as Debian's gcc-mingw-w64 25.2 builds it.
string(REGEX REPLACE "-.*" "" MILKA_GCC_VERSION "${MILKA_GCC_PACKAGE_VERSION}")
string(REGEX REPLACE "-.*" "" MILKA_MINGW_VERSION "${MILKA_MINGW_DEBIAN_VERSION}")
get_filename_component(MILKA_MINGW_TRIPLET ${CMAKE_CXX_COMPILER} NAME)
file(STRINGS ${PROJECT_SOURCE_DIR}/cmake/qt-windows-options.txt _options REGEX "^[^#]")
list(JOIN _options "\n      " MILKA_QT_OPTIONS)
set(MILKA_QT_OPTIONS "      ${MILKA_QT_OPTIONS}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/cmake/qt-windows-options.txt)

# Two read-mes that differ in how the program is started and removed: the zip's, installed into
# the folder a user unpacks, and the setup's (setup/), which tools/package-windows-installer puts
# in its place. Notepad opens a UTF-8 text with a byte-order mark and CRLF line ends on every
# Windows. configure_file's NEWLINE_STYLE ends the template's lines only, not those inside a value.
function(milka_readme output)
    foreach(value MILKA_README_START MILKA_README_REMOVE MILKA_QT_OPTIONS)
        string(REPLACE "\n" "\r\n" ${value} "${${value}}")
    endforeach()
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/readme-ja.txt.in ${output} @ONLY NEWLINE_STYLE CRLF)
endfunction()
set(MILKA_README_START "\
・このフォルダを好きな場所（例：ドキュメントやデスクトップ）に置き、milka.exe を
  ダブルクリックして起動します。")
set(MILKA_README_REMOVE "\
このフォルダごと削除してください。レジストリや他のフォルダには何も書き込みません。")
milka_readme(${CMAKE_CURRENT_BINARY_DIR}/はじめにお読みください.txt)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/はじめにお読みください.txt DESTINATION .)
set(MILKA_README_START "\
・スタートメニューの「ミルカ！！！（地方版）」（インストールのときに選んだ場合は
  デスクトップのショートカットも）で起動します。")
set(MILKA_README_REMOVE "\
Windows の「設定」→「アプリ」→「アプリと機能」（コントロール パネルでは「プログラムと機能」）で
「ミルカ！！！（地方版）」を選び、「アンインストール」を押してください。このフォルダ、
スタートメニューとデスクトップのショートカット、「アプリと機能」の項目がすべて消えます。
このフォルダを直接削除すると、ショートカットと「アプリと機能」の項目が残ってしまいます。
SPAT4 のフォルダには、インストールでも削除でも一切触れません。")
milka_readme(${CMAKE_CURRENT_BINARY_DIR}/setup/はじめにお読みください.txt)
