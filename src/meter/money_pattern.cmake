# Money display patterns: plain logic of the meter, shown by the window's money fields.
# Guarded so that the meter folder and the window library may both include it.
include_guard(GLOBAL)
target_sources(kestrova_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/money_pattern.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/money_pattern.h)
