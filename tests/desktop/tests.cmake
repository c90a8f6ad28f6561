# The program as a desktop and studio citizen: session management, sharp
# drawing at high resolutions, the desktop metadata and the Debian package.
tessiva_area_tests(desktop ON tessiva_app PkgConfig::LIBLO)

add_test(NAME desktop_metadata
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/metadata.sh
                 ${PROJECT_SOURCE_DIR}/data/org.korvale.tessiva.desktop
                 ${PROJECT_BINARY_DIR}/data/org.korvale.tessiva.metainfo.xml)
# cpack installs from the build folder, so this runs after a full build.
add_test(NAME desktop_package COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/package.sh ${PROJECT_BINARY_DIR})
set_tests_properties(desktop_metadata desktop_package PROPERTIES SKIP_RETURN_CODE 77)
set_tests_properties(desktop_metadata PROPERTIES TIMEOUT 60)
set_tests_properties(desktop_package PROPERTIES TIMEOUT 900)
