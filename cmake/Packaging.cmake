# The Debian package: `cpack -G DEB` in the build folder. Runtime libraries
# come from dpkg-shlibdeps; what it cannot see is listed by hand: Qt finds
# its platform plugin only at run time, and RtMidi reaches JACK through
# either of Debian's two JACK client libraries.

set(TESSIVA_PACKAGE_MAINTAINER "Tessiva developers <tessiva@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(TESSIVA_PACKAGE_RELEASE 1 CACHE STRING "Debian revision of the package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessiva)
set(CPACK_PACKAGE_VENDOR "The Tessiva developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "patch editor for Roland JV-1080, JV-2080 and XP synthesizers")
# The summary above is the synopsis line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tessiva edits the sounds of Roland JV-1080, JV-2080 and XP-series
synthesizers on a computer screen. Every change leaves at once as a MIDI
System Exclusive data set, so the sound changes while it is edited. It
fetches, sends and stores whole patches, loads and saves patch files, and
brings a virtual JV-1080 for working without hardware.
.
The package also holds tessiva-cli, the same patch model and protocol on
the command line.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TESSIVA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TESSIVA_PACKAGE_RELEASE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libjack-jackd2-0 | libjack-0.125")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "jackd2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

# Debian's documentation folder is named after the package.
set(TESSIVA_DEB_VERSION ${PROJECT_VERSION}-${TESSIVA_PACKAGE_RELEASE})
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(_epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE _epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT _epoch)
  string(TIMESTAMP _epoch "%s" UTC)
endif()
execute_process(COMMAND date -u -R -d @${_epoch} OUTPUT_VARIABLE TESSIVA_CHANGELOG_DATE
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(_doc ${CMAKE_BINARY_DIR}/debian-doc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${_doc}/changelog.Debian @ONLY)
add_custom_command(OUTPUT ${_doc}/changelog.Debian.gz
                   COMMAND gzip -9nkf ${_doc}/changelog.Debian
                   DEPENDS ${_doc}/changelog.Debian VERBATIM)
add_custom_target(tessiva_debian_doc ALL DEPENDS ${_doc}/changelog.Debian.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${_doc}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tessiva)

include(CPack)
