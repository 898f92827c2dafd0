# The portable archive (`make package`): a .tar.gz that unpacks into a ready program folder with
# the executable, the icons, templates, catalogue, an empty projects/, the application icon, a
# short README and the script that adds a desktop menu entry.
set(FOLIONEER_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")

install(FILES "${FOLIONEER_PACKAGING_DIR}/README.txt" "${FOLIONEER_PACKAGING_DIR}/folioneer.png" DESTINATION .)
install(PROGRAMS "${FOLIONEER_PACKAGING_DIR}/install-desktop-entry.sh" DESTINATION .)
# Folders the program needs even while they are empty.
install(DIRECTORY DESTINATION projects)
install(DIRECTORY DESTINATION prompts/0)

# The Debian package (`make deb`) installs the system layout under /usr: the program in bin/, the
# data every user's program folder is seeded from in share/folioneer/, and what the desktop and
# the package tools look for. It is the install component "system", which a plain
# `cmake --install` and the portable archive leave out (EXCLUDE_FROM_ALL).
set(FOLIONEER_APP_ID "app.folioneer.Folioneer")
set(FOLIONEER_LINUX_DIR "${FOLIONEER_PACKAGING_DIR}/linux")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS folioneer RUNTIME DESTINATION bin COMPONENT system EXCLUDE_FROM_ALL)
install(DIRECTORY "${PROJECT_SOURCE_DIR}/data/" DESTINATION share/folioneer COMPONENT system EXCLUDE_FROM_ALL)
install(DIRECTORY DESTINATION share/folioneer/prompts/0 COMPONENT system EXCLUDE_FROM_ALL)
install(FILES "${FOLIONEER_LINUX_DIR}/${FOLIONEER_APP_ID}.desktop" DESTINATION share/applications
        COMPONENT system EXCLUDE_FROM_ALL)
install(FILES "${FOLIONEER_LINUX_DIR}/${FOLIONEER_APP_ID}.metainfo.xml" DESTINATION share/metainfo
        COMPONENT system EXCLUDE_FROM_ALL)
foreach(size 16 24 32 48 64 128)
    install(FILES "${FOLIONEER_PACKAGING_DIR}/icons/folioneer-${size}.png"
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${FOLIONEER_APP_ID}.png
            COMPONENT system EXCLUDE_FROM_ALL)
endforeach()
install(FILES "${FOLIONEER_PACKAGING_DIR}/folioneer.png" DESTINATION share/icons/hicolor/256x256/apps
        RENAME ${FOLIONEER_APP_ID}.png COMPONENT system EXCLUDE_FROM_ALL)

# Debian wants the manual page and the changelog compressed at the highest level, without the
# name and time stamp gzip would store (so the package is reproducible).
find_program(FOLIONEER_GZIP gzip REQUIRED)
set(FOLIONEER_COMPRESSED_DOCS "")
foreach(doc folioneer.1 changelog.Debian)
    add_custom_command(OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/linux/${doc}.gz"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/linux"
        COMMAND ${FOLIONEER_GZIP} -9 -n -c "${FOLIONEER_LINUX_DIR}/${doc}" > "${CMAKE_CURRENT_BINARY_DIR}/linux/${doc}.gz"
        DEPENDS "${FOLIONEER_LINUX_DIR}/${doc}"
        VERBATIM)
    list(APPEND FOLIONEER_COMPRESSED_DOCS "${CMAKE_CURRENT_BINARY_DIR}/linux/${doc}.gz")
endforeach()
add_custom_target(folioneer_system_docs ALL DEPENDS ${FOLIONEER_COMPRESSED_DOCS})
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/linux/folioneer.1.gz" DESTINATION share/man/man1
        COMPONENT system EXCLUDE_FROM_ALL)
install(FILES "${FOLIONEER_LINUX_DIR}/copyright" "${CMAKE_CURRENT_BINARY_DIR}/linux/changelog.Debian.gz"
        DESTINATION share/doc/folioneer COMPONENT system EXCLUDE_FROM_ALL)

set(CPACK_PACKAGE_NAME "Folioneer")
set(CPACK_PACKAGE_VENDOR "Folioneer developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Write a non-fiction book with an outside AI chat tool")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "Folioneer-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_GENERATOR "TGZ")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")

# Only the DEB generator installs by component (the archive is one monolithic install), so this
# list chooses the package's content without touching the archive's.
set(CPACK_COMPONENTS_ALL system)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_PACKAGE_NAME "folioneer")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Folioneer developers <developers@folioneer.app>")
set(CPACK_DEBIAN_PACKAGE_SECTION "text")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The libraries come from the binary; the windows ask for Verdana, and DejaVu is the face that
# stands in for it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The long description; CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Folioneer helps one person write a non-fiction book with an AI chat tool that
runs elsewhere. It never talks to the AI tool itself: it builds the prompts and
puts them on the clipboard, the user pastes them into the chat, and the answers
come back through the clipboard into the book's outline and sections.
.
A book is a project: its main topic, its table of contents as the AI tool wrote
it, and one rich-text file per section. The whole book can be copied out as
plain text at any time. Each user's books live in ~/.local/share/Folioneer;
the program reads no settings and uses no network.")
include(CPack)
