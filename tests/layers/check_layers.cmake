# Checks every #include "folder/file.h" under src/ against the layers: a file may include
# only files of its own library and of the libraries its layer stands on.
#
#   cmake -DSRC_DIR=... -DTARGETS="a|b" -DDIR_a=... -DSOURCES_a="x.cpp|y.h" ... -P check_layers.cmake
#
# A file belongs to the library that compiles it (SOURCES_<target>); a file no library lists
# (a header of a logic library) belongs to its folder's logic library, FOLDER_<folder>.

# What each library may include besides itself.
set(USES_zevlink "")
set(USES_kestrova_base "")
set(USES_kestrova_rates kestrova_base)
set(USES_kestrova_meter kestrova_base kestrova_rates)
set(USES_kestrova_platform kestrova_base kestrova_rates kestrova_meter zevlink)
set(USES_kestrova_settings kestrova_base kestrova_rates kestrova_meter)
set(USES_kestrova_export kestrova_base kestrova_rates kestrova_meter)
set(USES_kestrova_nettools kestrova_base kestrova_rates kestrova_meter)
set(USES_kestrova_windows kestrova_base kestrova_rates kestrova_meter)
set(USES_kestrova_gui kestrova_base)
set(KESTROVA_LOGIC kestrova_base kestrova_rates kestrova_meter kestrova_settings
    kestrova_export kestrova_nettools kestrova_windows)
# A folder's windows and controllers: the logic, the shared window pieces, its own logic.
foreach(folder rates settings export nettools windows)
    set(USES_kestrova_${folder}_gui ${KESTROVA_LOGIC} kestrova_gui)
endforeach()
# The main window and the entry assemble everything.
set(USES_kestrova_shell ${KESTROVA_LOGIC} kestrova_platform zevlink kestrova_gui
    kestrova_rates_gui kestrova_settings_gui kestrova_export_gui kestrova_nettools_gui
    kestrova_windows_gui)

foreach(folder zevlink base rates meter platform settings export nettools windows gui shell)
    set(FOLDER_${folder} kestrova_${folder})
endforeach()
set(FOLDER_zevlink zevlink)

# The library of each listed file.
string(REPLACE "|" ";" targets "${TARGETS}")
foreach(target IN LISTS targets)
    string(REPLACE "|" ";" sources "${SOURCES_${target}}")
    foreach(source IN LISTS sources)
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY "${DIR_${target}}" NORMALIZE)
        cmake_path(RELATIVE_PATH source BASE_DIRECTORY "${SRC_DIR}")
        string(MAKE_C_IDENTIFIER "${source}" key)
        set(OWNER_${key} ${target})
    endforeach()
endforeach()

function(owner_of file out)
    string(MAKE_C_IDENTIFIER "${file}" key)
    if(DEFINED OWNER_${key})
        set(${out} ${OWNER_${key}} PARENT_SCOPE)
    else()
        string(REGEX REPLACE "/.*" "" folder "${file}")
        set(${out} "${FOLDER_${folder}}" PARENT_SCOPE)
    endif()
endfunction()

set(faults "")
file(GLOB_RECURSE files RELATIVE "${SRC_DIR}" "${SRC_DIR}/*.h" "${SRC_DIR}/*.cpp")
foreach(file IN LISTS files)
    owner_of("${file}" owner)
    if(owner STREQUAL "")
        list(APPEND faults "${file}: its folder has no place in the layers")
        continue()
    endif()
    file(STRINGS "${SRC_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*" "\\1" included "${line}")
        if(NOT included MATCHES "/")
            continue()  # a file beside it, named without its folder
        endif()
        owner_of("${included}" used)
        if(used STREQUAL owner)
            continue()
        endif()
        list(FIND USES_${owner} "${used}" allowed)
        if(allowed EQUAL -1)
            list(APPEND faults "${file} (${owner}) includes ${included} (${used})")
        endif()
    endforeach()
endforeach()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Includes against the layers:\n  ${text}")
endif()
list(LENGTH files count)
message(STATUS "${count} files keep to the layers")
