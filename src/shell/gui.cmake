# The window classes of the shell, and the program itself.
file(GLOB shell_gui_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/*.h ${CMAKE_CURRENT_LIST_DIR}/*.qrc)
list(FILTER shell_gui_sources EXCLUDE REGEX "/main\\.cpp$")
target_sources(kestrova_gui PRIVATE ${shell_gui_sources})

if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
    add_executable(kestrova ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
    target_compile_options(kestrova PRIVATE ${KESTROVA_WARNINGS})
    target_link_libraries(kestrova PRIVATE kestrova_gui)
    # The program's folder holds its settings and statistics: keep it and Zevlink together.
    set_target_properties(kestrova PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
                                              BUILD_RPATH "$ORIGIN" INSTALL_RPATH "$ORIGIN")
endif()
