# Portable archive of a ready program folder (filled in by the packaging work).
set(CPACK_PACKAGE_NAME "Folioneer")
set(CPACK_GENERATOR "TGZ")
include(CPack)
