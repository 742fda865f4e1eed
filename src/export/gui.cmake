# The controllers of this folder's windows.
kestrova_library(kestrova_export_gui
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/export_controller.cpp
        ${CMAKE_CURRENT_LIST_DIR}/export_controller.h
    LIBS kestrova_gui kestrova_base Qt6::Widgets)
