# The controllers of this folder's windows.
kestrova_library(kestrova_settings_gui
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/options_controller.cpp
        ${CMAKE_CURRENT_LIST_DIR}/options_controller.h
        ${CMAKE_CURRENT_LIST_DIR}/floating_window_controller.cpp
        ${CMAKE_CURRENT_LIST_DIR}/floating_window_controller.h
        ${CMAKE_CURRENT_LIST_DIR}/tray_controller.cpp
        ${CMAKE_CURRENT_LIST_DIR}/tray_controller.h
    LIBS kestrova_gui kestrova_base Qt6::Widgets)
