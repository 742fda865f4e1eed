# The controllers of this folder's windows.
kestrova_library(kestrova_windows_gui
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/about_controller.cpp
        ${CMAKE_CURRENT_LIST_DIR}/about_controller.h
    LIBS kestrova_gui kestrova_base Qt6::Widgets)
