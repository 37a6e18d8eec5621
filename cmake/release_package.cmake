# The release: `cpack` in the Windows build makes NorvaleTimeClock-<version>-win64.zip, whose
# one folder is the program folder as it ships (cmake/program_folder.cmake), README.txt (the
# page the About item opens) included, and the installer NorvaleTimeClock-<version>-x64.msi of
# the same folder (cmake/msi_package.cmake).

install(TARGETS NorvaleTimeClock RUNTIME DESTINATION .)
# The default skin with its fonts and their licences, and the sounds.
install(DIRECTORY ${NORVALE_PROGRAM_DIR}/face ${NORVALE_PROGRAM_DIR}/sound DESTINATION .)
install(FILES ${NORVALE_PROGRAM_DIR}/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP External)
set(CPACK_PACKAGE_NAME NorvaleTimeClock)
set(CPACK_PACKAGE_VENDOR Brannick)
set(CPACK_PACKAGE_FILE_NAME NorvaleTimeClock-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/msi_package.cmake)
include(CPack)
