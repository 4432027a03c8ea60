# cpack in a build folder makes a portable ZIP and, where makensis is found, a per-user NSIS installer.
set(CPACK_PACKAGE_NAME pmrun)
set(CPACK_PACKAGE_VENDOR "the pmrun developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ぱむぱむランチ, a program launcher for the Windows desktop")
set(CPACK_PACKAGE_INSTALL_DIRECTORY pmrun)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY pmrun)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_PACKAGE_NAME "ぱむぱむランチ")
set(CPACK_NSIS_DISPLAY_NAME "ぱむぱむランチ")

# Packing installs only what is already built: scripts/package builds pmrun.exe alone, not the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR ZIP)
find_program(PMRUN_MAKENSIS makensis PATHS "[HKEY_LOCAL_MACHINE\\SOFTWARE\\NSIS]"
                                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\NSIS]")
if(PMRUN_MAKENSIS)
    list(APPEND CPACK_GENERATOR NSIS)
    set(CPACK_NSIS_EXECUTABLE ${PMRUN_MAKENSIS})
else()
    message(STATUS "makensis not found: cpack makes only the ZIP; install NSIS for the installer too")
endif()

# Our installer script comes before CMake's, whose template asks for administrator rights.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/packaging)
include(CPack)
