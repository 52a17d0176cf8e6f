# SPDX-License-Identifier: GPL-3.0-or-later
# One library per source folder. A folder's headers are reachable as "folder/name.h" only by
# the targets that link it, so an include that points up the layering does not build.
function(kelvane_folder_include_dir target folder)
    set(dir ${PROJECT_BINARY_DIR}/include/${folder})
    if(NOT EXISTS ${dir}/${folder})
        get_filename_component(parent ${dir}/${folder} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${dir}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC ${dir})
endfunction()

function(kelvane_library target folder)
    add_library(${target} STATIC ${ARGN})
    kelvane_folder_include_dir(${target} ${folder})
endfunction()
