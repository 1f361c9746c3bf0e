# The files a distribution wants besides the program (manual page, copyright,
# changelogs), and the Debian package that CPack builds from the install rules:
#   cpack --config build/CPackConfig.cmake     (scripts/package.sh does it all)

option(BREVIO_DEBIAN_PACKAGE
       "Also install what only the Debian package has: its changelog and lintian overrides" OFF)

set(BREVIO_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/brevio)
# The umask of whoever builds must not leak into the package.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Installs SOURCE (relative to the calling directory) compressed as NAME.gz in
# DESTINATION. gzip -9n: the best compression, and no name or time stamp inside,
# so every build gives the same bytes. Compressed while CMake configures, so that
# an install finds it whichever targets were built; a change to SOURCE makes CMake
# configure again.
function(brevio_install_gzipped source destination)
    get_filename_component(name ${source} NAME)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/${source}
                    OUTPUT_FILE ${output} COMMAND_ERROR_IS_FATAL ANY)
    install(FILES ${output} DESTINATION ${destination})
endfunction()

install(FILES packaging/copyright DESTINATION ${BREVIO_DOCDIR})
brevio_install_gzipped(packaging/changelog ${BREVIO_DOCDIR})
if(BREVIO_DEBIAN_PACKAGE)
    brevio_install_gzipped(packaging/changelog.Debian ${BREVIO_DOCDIR})
    install(FILES packaging/lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME brevio)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brevio)
set(CPACK_PACKAGE_VENDOR "Lena Hoffmann and Jonas Becker")
set(CPACK_PACKAGE_CONTACT "Lena Hoffmann and Jonas Becker <brevio@smsbrevio.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compose SMS texts and split them into numbered parts")
# Debian's descriptions are English; the program itself is German.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Brevio is a small desktop program for X11 for composing SMS texts. It counts
the characters as you type. When a text is longer than one message (120
characters unless you change the number), it splits the text at word
boundaries into numbered parts (\"1/3 \", \"2/3 \", ...), signing the last part
when there is room. Each part can be chosen from a list, edited and copied to
the clipboard, to be pasted wherever you send your messages.

The user interface is in German.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://smsbrevio.example)
# dpkg-shlibdeps finds the linked libraries; no link shows the font that the
# window's layout is measured for, nor Qt's X11 platform plugin, loaded at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-qpa-plugins")
# Qt's German texts for its menus; without them the program works, with Qt's English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The description's quotes reach CPackConfig.cmake escaped.
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
