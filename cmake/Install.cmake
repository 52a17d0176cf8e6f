# SPDX-License-Identifier: GPL-3.0-or-later
# What cmake --install puts in place besides the window program (app/) and its desktop entry,
# SVG icon and metainfo (res/): the command-line driver, the PNG icons, the manual pages, and
# the copyright file and changelog (share/doc/kelvane, where Debian looks for them).
include(GNUInstallDirs)

install(TARGETS kelvane-cli)

# The programs are in games/ (cmake/InstallDirs.cmake), which not every session's PATH holds
# (root's does not), so the installed desktop entry names the program by its full path. The
# entry itself is installed by res/CMakeLists.txt, whose rules run before these.
if(KELVANE_BUILD_GUI)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
        set(kelvane_bindir_code "${CMAKE_INSTALL_BINDIR}")
    else()
        set(kelvane_bindir_code "\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}")
    endif()
    install(CODE "
        set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/org.kelvane.Kelvane.desktop\")
        file(READ \"\${entry}\" text)
        string(REPLACE \"\nExec=kelvane\n\" \"\nExec=${kelvane_bindir_code}/kelvane\n\" text \"\${text}\")
        file(WRITE \"\${entry}\" \"\${text}\")")
endif()

# The manual pages are kept by hand as roff in man/; installed gzipped, as Debian wants them.
find_program(KELVANE_GZIP gzip REQUIRED)
set(kelvane_man_pages)
foreach(page IN ITEMS kelvane.6 kelvane-cli.6)
    set(packed ${PROJECT_BINARY_DIR}/man/${page}.gz)
    add_custom_command(
        OUTPUT ${packed}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
        COMMAND ${KELVANE_GZIP} -9nc ${PROJECT_SOURCE_DIR}/man/${page} > ${packed}
        DEPENDS ${PROJECT_SOURCE_DIR}/man/${page}
        COMMENT "Compressing the manual page ${page}")
    list(APPEND kelvane_man_pages ${packed})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${kelvane_man_pages})
install(FILES ${kelvane_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(kelvane_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/kelvane)
set(changelog_packed ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(
    OUTPUT ${changelog_packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
    COMMAND ${KELVANE_GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog_packed}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
    COMMENT "Compressing the changelog")
add_custom_target(package_changelog ALL DEPENDS ${changelog_packed})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog_packed}
        DESTINATION ${kelvane_doc_dir})

# The icon in the hicolor theme at the usual sizes, drawn from the same pixel art as the SVG
# and the window's icon by a small build tool (an area average: 32 pixels and whole multiples
# stay crisp, 48 is softened a little); 16 pixels have their own drawing.
if(KELVANE_BUILD_GUI)
    add_executable(kelvane-xpm-to-png ${PROJECT_SOURCE_DIR}/tools/xpm_to_png.cpp)
    target_link_libraries(kelvane-xpm-to-png PRIVATE png_file)
    set_target_properties(kelvane-xpm-to-png PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tools)
    set(kelvane_png_icons)
    foreach(size IN ITEMS 16 32 48 64 128 256)
        set(png ${PROJECT_BINARY_DIR}/icons/${size}x${size}/org.kelvane.Kelvane.png)
        set(art ${PROJECT_SOURCE_DIR}/res/kelvane_icon.xpm)
        if(size EQUAL 16)
            set(art ${PROJECT_SOURCE_DIR}/res/kelvane_icon_16.xpm)
        endif()
        add_custom_command(
            OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}x${size}
            COMMAND kelvane-xpm-to-png ${art} ${size} ${png}
            DEPENDS kelvane-xpm-to-png ${art}
            COMMENT "Drawing the ${size}x${size} icon"
            VERBATIM)
        list(APPEND kelvane_png_icons ${png})
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(desktop_icons_png ALL DEPENDS ${kelvane_png_icons})
endif()
