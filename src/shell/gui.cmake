# The main window, its controller, the single-instance rule, and the program itself.
file(GLOB shell_gui_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/*.h)
list(FILTER shell_gui_sources EXCLUDE REGEX "/main\\.cpp$")
kestrova_library(kestrova_shell
    SOURCES ${shell_gui_sources}
    LIBS kestrova_rates_gui kestrova_settings_gui kestrova_export_gui kestrova_nettools_gui
         kestrova_windows_gui kestrova_gui kestrova_platform kestrova_meter kestrova_rates
         kestrova_base Qt6::Widgets)

add_executable(kestrova ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_compile_options(kestrova PRIVATE ${KESTROVA_WARNINGS})
target_link_libraries(kestrova PRIVATE kestrova_shell)
# The program's folder holds its settings and statistics: keep it and Zevlink together.
set_target_properties(kestrova PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
                                          BUILD_RPATH "$ORIGIN" INSTALL_RPATH "$ORIGIN")
