# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a file under SOURCE_DIR (src/) includes a header of a higher layer,
# or of a sibling on the same layer:
#   model <- link <- operations, files, record <- ui, cli <- app
# Run as: cmake -DSOURCE_DIR=<src> -P check_layers.cmake
set(rank_model 0)
set(rank_link 1)
set(rank_operations 2)
set(rank_files 2)
set(rank_record 2)
set(rank_ui 3)
set(rank_cli 3)
set(rank_app 4)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(violations "")
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[^/]+" layer "${source}")
    if(NOT DEFINED rank_${layer})
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([a-z]+)/.*" "\\1" target "${line}")
        if(NOT DEFINED rank_${target} OR target STREQUAL layer)
            continue()
        endif()
        if(NOT rank_${target} LESS rank_${layer})
            list(APPEND violations "${source}: ${layer} must not include ${target}/ (${line})")
        endif()
    endforeach()
endforeach()

list(LENGTH sources count)
if(violations)
    list(JOIN violations "\n" report)
    message(FATAL_ERROR "includes against the layering:\n${report}")
endif()
message(STATUS "${count} files, every include points down the layers")
