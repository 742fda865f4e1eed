# What every window shares: message boxes and file dialogs, the money field, the look.
file(GLOB gui_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/*.h ${CMAKE_CURRENT_LIST_DIR}/*.qrc)
target_sources(kestrova_gui PRIVATE ${gui_sources})
