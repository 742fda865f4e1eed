# The controllers of this folder's windows.
kestrova_library(kestrova_nettools_gui
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/dial_up_controller.cpp
        ${CMAKE_CURRENT_LIST_DIR}/dial_up_controller.h
        ${CMAKE_CURRENT_LIST_DIR}/ping_controller.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ping_controller.h
        ${CMAKE_CURRENT_LIST_DIR}/shell_command_controller.cpp
        ${CMAKE_CURRENT_LIST_DIR}/shell_command_controller.h
    LIBS kestrova_gui kestrova_base Qt6::Widgets)
