# `cmake --install`: the program folder (binaries with lib/, help/ and rep/ beside them, as the
# programs look for their data next to their own file) under <prefix>/lib/lodestar, links to
# the two programs in <prefix>/bin, and the desktop entry with its icons, so the window appears
# in the desktop's menus and in "Open with" for text and HTML files.
set(LODESTAR_INSTALL_FOLDER "lib/lodestar" CACHE STRING
    "Program folder below the install prefix (read-only once installed)")

install(TARGETS lodestar lodestar-cli RUNTIME DESTINATION ${LODESTAR_INSTALL_FOLDER})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/lib ${CMAKE_SOURCE_DIR}/help ${CMAKE_SOURCE_DIR}/rep
        DESTINATION ${LODESTAR_INSTALL_FOLDER})

# The links are relative, so an installed tree can be moved or packaged from a staging folder.
install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    foreach(program lodestar lodestar-cli)
        file(REMOVE \"\${bin}/\${program}\")
        file(CREATE_LINK \"../${LODESTAR_INSTALL_FOLDER}/\${program}\" \"\${bin}/\${program}\"
             SYMBOLIC)
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${bin}/\${program}\")
    endforeach()
")

install(FILES ${CMAKE_SOURCE_DIR}/desktop/lodestar.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/src/ui/icons/app.svg
        DESTINATION share/icons/hicolor/scalable/apps RENAME lodestar.svg)
foreach(size 48 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/desktop/icons/lodestar-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME lodestar.png)
endforeach()

# The manual pages and the bash and zsh completions, made from the usage text at build time.
install(FILES ${CMAKE_BINARY_DIR}/man/man1/lodestar.1 ${CMAKE_BINARY_DIR}/man/man1/lodestar-cli.1
        DESTINATION share/man/man1)
install(FILES ${CMAKE_BINARY_DIR}/completion/lodestar-cli
        DESTINATION share/bash-completion/completions)
install(FILES ${CMAKE_BINARY_DIR}/completion/_lodestar-cli
        DESTINATION share/zsh/vendor-completions)
