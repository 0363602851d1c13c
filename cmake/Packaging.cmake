# Installing the game on a Linux desktop and packaging it as a .deb:
#   cmake --install <build> [--prefix DIR]   the program, its launcher, icon, AppStream file and
#                                            licences under DIR (default /usr/local)
#   (cd <build> && cpack -G DEB)             snowmere_<version>_<arch>.deb for /usr
include(GNUInstallDirs)

set(SNOW_HOMEPAGE "https://brimlet.net/snowmere" CACHE STRING "The game's web page")
set(SNOW_SCREENSHOT_URL "${SNOW_HOMEPAGE}/screenshots" CACHE STRING
    "Where docs/screenshots/game-playing.png and menu.png are published for software centres")
set(SNOW_MAINTAINER "Snowmere developers <snowmere@brimlet.net>" CACHE STRING
    "The .deb's maintainer")

set(snow_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/snowmere)
configure_file(${CMAKE_SOURCE_DIR}/desktop/${SNOW_ICON_NAME}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/desktop/${SNOW_ICON_NAME}.metainfo.xml @ONLY)

install(TARGETS snowmere RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/desktop/${SNOW_ICON_NAME}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/desktop/${SNOW_ICON_NAME}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${SNOW_ICONS_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/copyright ${CMAKE_SOURCE_DIR}/README.md
        DESTINATION ${snow_doc_dir})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/licenses/ DESTINATION ${snow_doc_dir}/licenses)

# Installing and packaging take the build as it stands (`cmake --build` comes first), so the
# package test does not rebuild every tool and test program.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME snowmere)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${SNOW_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "winter match-three puzzle game")
set(CPACK_PACKAGE_DESCRIPTION
    "Swap neighbouring pieces to make lines of three or more over ice; a level is won when no ice is left before the candle burns down. 150 levels, special pieces, hammers, player profiles, highscores, winter scenery, sound and music. Plays with the mouse, the keyboard or a gamepad.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SNOW_HOMEPAGE}")
# The libraries the program links are found by dpkg-shlibdeps. What SDL loads only at run time
# cannot be: the GL and EGL drivers it draws with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1, libgles2, libgl1-mesa-dri")
include(CPack)

# The install tree and the package, checked by their validators and started headless.
if(SNOW_BUILD_TESTS)
  add_test(NAME Desktop.InstallTreeValidatesAndStarts
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/desktop/check_install.sh ${CMAKE_BINARY_DIR})
  add_test(NAME Desktop.DebPackageInstallsAndStarts
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/desktop/check_deb.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(Desktop.InstallTreeValidatesAndStarts Desktop.DebPackageInstallsAndStarts
                       PROPERTIES ENVIRONMENT "SDL_AUDIODRIVER=dummy" RESOURCE_LOCK snow_install)
endif()
