# The rate dialog, the rate commands and the rate table files of the main window.
kestrova_library(kestrova_rates_gui
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/driver_form.cpp
        ${CMAKE_CURRENT_LIST_DIR}/driver_form.h
        ${CMAKE_CURRENT_LIST_DIR}/price_edit.cpp
        ${CMAKE_CURRENT_LIST_DIR}/price_edit.h
        ${CMAKE_CURRENT_LIST_DIR}/rate_commands.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rate_commands.h
        ${CMAKE_CURRENT_LIST_DIR}/rate_table_files.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rate_table_files.h
        ${CMAKE_CURRENT_LIST_DIR}/rate_list_view.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rate_list_view.h
        ${CMAKE_CURRENT_LIST_DIR}/rate_controller.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rate_controller.h
    LIBS kestrova_rates kestrova_gui)
