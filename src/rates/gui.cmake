# The rate dialog and the rate commands of the main window.
target_sources(kestrova_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/driver_form.cpp
    ${CMAKE_CURRENT_LIST_DIR}/driver_form.h
    ${CMAKE_CURRENT_LIST_DIR}/price_edit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/price_edit.h
    ${CMAKE_CURRENT_LIST_DIR}/rate_commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rate_commands.h)
target_sources(kestrova_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/rate_table_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rate_table_files.h)
