# The portable archive (`make package`): a .tar.gz that unpacks into a ready program folder with
# the executable, the icons, templates, catalogue, an empty projects/, the application icon, a
# short README and the script that adds a desktop menu entry.
set(FOLIONEER_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")

install(FILES "${FOLIONEER_PACKAGING_DIR}/README.txt" "${FOLIONEER_PACKAGING_DIR}/folioneer.png" DESTINATION .)
install(PROGRAMS "${FOLIONEER_PACKAGING_DIR}/install-desktop-entry.sh" DESTINATION .)
# Folders the program needs even while they are empty.
install(DIRECTORY DESTINATION projects)
install(DIRECTORY DESTINATION prompts/0)

set(CPACK_PACKAGE_NAME "Folioneer")
set(CPACK_PACKAGE_VENDOR "Folioneer developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Write a non-fiction book with an outside AI chat tool")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "Folioneer-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_GENERATOR "TGZ")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
