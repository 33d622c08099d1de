# The Qt-free lookup and start of the system-information program behind the About box. It is
# built even without the windows, so the Windows cross build can test it under Wine.
add_library(sysinfo STATIC
    ${CMAKE_CURRENT_LIST_DIR}/SysInfo.h ${CMAKE_CURRENT_LIST_DIR}/SysInfo.cpp)
if(WIN32)
    target_sources(sysinfo PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WindowsRegistry.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/WindowsProcess.cpp)
    target_link_libraries(sysinfo PRIVATE advapi32 shell32)
else()
    target_sources(sysinfo PRIVATE ${CMAKE_CURRENT_LIST_DIR}/PortableSystem.cpp)
endif()
target_include_directories(sysinfo PUBLIC ${CMAKE_CURRENT_LIST_DIR})
