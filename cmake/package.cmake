# Installing and packaging: `cmake --install build` lays out a desktop game under the prefix
# chosen when configuring (GNUInstallDirs), and `cpack -G DEB` / `cpack -G TGZ` in the build
# folder make the packages. The prefix is set once, with CMAKE_INSTALL_PREFIX: the compiled-in
# asset folder, the manual page and the Debian package all follow it.
include(GNUInstallDirs)

set(BRIM_RELEASE_DATE 2026-12-08)
# Lower case throughout, so the desktop file, the icons, the X11 class and the Wayland app id
# match it however a desktop compares names.
set(BRIM_APP_ID io.github.brimstrand.brimstrand CACHE STRING "Reverse-DNS application id")
set(BRIM_HOMEPAGE "" CACHE STRING "Home page named in the AppStream data and the package (none when empty)")
set(BRIM_BUGTRACKER "" CACHE STRING "Bug tracker named in the AppStream data (none when empty)")
set(BRIM_SOURCE_URL "" CACHE STRING "Source browser named in the AppStream data (none when empty)")
set(BRIM_SCREENSHOT_URL "" CACHE STRING "Where the shipped screenshot is published (no AppStream screenshot when empty)")
# The packager's own name and address, as Debian's tools take them, when they are set; otherwise
# one under the reserved .invalid domain, which says plainly that no address was configured.
if(DEFINED ENV{DEBFULLNAME} AND DEFINED ENV{DEBEMAIL})
  set(brim_default_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
else()
  set(brim_default_maintainer "Brimstrand packager <packager@unconfigured.invalid>")
endif()
set(BRIM_MAINTAINER "${brim_default_maintainer}" CACHE STRING "Maintainer of the Debian package")
option(BRIM_SCREENSHOT "Take the shipped screenshot by running the game at build time (needs EGL)" ON)

# Debian puts games in /usr/games; any other prefix keeps bin/.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(BRIM_INSTALL_GAMEDIR games)
else()
  set(BRIM_INSTALL_GAMEDIR ${CMAKE_INSTALL_BINDIR})
endif()
set(brim_share_dir ${CMAKE_INSTALL_DATADIR}/brimstrand)
set(brim_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/brimstrand)
set(BRIM_INSTALLED_ASSET_FOLDER ${CMAKE_INSTALL_FULL_DATADIR}/brimstrand)

# The version, the application id and the compiled-in asset folder reach the game through one
# source file.
set_source_files_properties(${PROJECT_SOURCE_DIR}/app/shell/build_info.cpp TARGET_DIRECTORY brim_app_shell PROPERTIES
  COMPILE_DEFINITIONS "BRIM_VERSION=\"${PROJECT_VERSION}\";BRIM_APP_ID=\"${BRIM_APP_ID}\";BRIM_INSTALLED_ASSET_FOLDER=\"${BRIM_INSTALLED_ASSET_FOLDER}\"")

# Menu icons, painted by the asset generator at every size the desktop asks for.
set(brim_icon_dir ${CMAKE_BINARY_DIR}/icons)
set(brim_icon_sizes 16 32 48 64 128 256 512)
set(brim_icon_files)
foreach(size IN LISTS brim_icon_sizes)
  list(APPEND brim_icon_files ${brim_icon_dir}/hicolor/${size}x${size}/apps/brimstrand.png)
endforeach()
add_custom_command(
  OUTPUT ${brim_icon_files}
  COMMAND brim_assetgen --icons ${brim_icon_dir}
  DEPENDS brim_assetgen
  COMMENT "Painting the menu icons into ${brim_icon_dir}"
  VERBATIM)
add_custom_target(brim_icons ALL DEPENDS ${brim_icon_files})

set(brim_dist_dir ${CMAKE_BINARY_DIR}/dist)
execute_process(COMMAND date -u -R -d ${BRIM_RELEASE_DATE} OUTPUT_VARIABLE BRIM_RELEASE_DATE_RFC2822
  OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${PROJECT_SOURCE_DIR}/dist/brimstrand.6.in ${brim_dist_dir}/brimstrand.6 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/brimstrand.desktop.in ${brim_dist_dir}/${BRIM_APP_ID}.desktop @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/changelog.in ${brim_dist_dir}/changelog @ONLY)

# Debian wants the manual page and the changelog compressed; -n leaves out the name and time,
# so the package stays reproducible.
set(brim_gzipped)
foreach(file brimstrand.6 changelog)
  add_custom_command(
    OUTPUT ${brim_dist_dir}/${file}.gz
    COMMAND gzip -n -9 -c ${file} > ${file}.gz
    DEPENDS ${brim_dist_dir}/${file}
    WORKING_DIRECTORY ${brim_dist_dir})
  list(APPEND brim_gzipped ${brim_dist_dir}/${file}.gz)
endforeach()

# The screenshot the AppStream data shows, taken by the game from a golden replay under SDL's
# offscreen driver, so no display is needed; a machine without EGL can switch it off.
set(BRIM_SCREENSHOT_WIDTH 1024)
set(BRIM_SCREENSHOT_HEIGHT 1024)
set(brim_screenshot ${brim_dist_dir}/screenshot.png)
if(BRIM_SCREENSHOT)
  add_custom_command(
    OUTPUT ${brim_screenshot}
    COMMAND ${CMAKE_COMMAND} -DGAME=$<TARGET_FILE:brimstrand> -DREPLAY=${PROJECT_SOURCE_DIR}/tests/golden/play1.replay
            -DSCALE=2 -DFRAME=4200 -DWORK=${brim_dist_dir}/screenshot.work -DOUTPUT=${brim_screenshot}
            -P ${PROJECT_SOURCE_DIR}/cmake/screenshot.cmake
    DEPENDS brimstrand brim_assets ${PROJECT_SOURCE_DIR}/cmake/screenshot.cmake
            ${PROJECT_SOURCE_DIR}/tests/golden/play1.replay
    COMMENT "Taking the AppStream screenshot"
    VERBATIM)
endif()

# The AppStream data: the identity URLs and the screenshot appear only when they are set.
add_custom_command(
  OUTPUT ${brim_dist_dir}/${BRIM_APP_ID}.metainfo.xml
  COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${PROJECT_SOURCE_DIR}/dist/brimstrand.metainfo.xml.in
          -DOUTPUT=${brim_dist_dir}/${BRIM_APP_ID}.metainfo.xml -DAPP_ID=${BRIM_APP_ID} -DVERSION=${PROJECT_VERSION}
          -DRELEASE_DATE=${BRIM_RELEASE_DATE} -DHOMEPAGE=${BRIM_HOMEPAGE} -DBUGTRACKER=${BRIM_BUGTRACKER}
          -DSOURCE_URL=${BRIM_SOURCE_URL} -DSCREENSHOT_URL=${BRIM_SCREENSHOT_URL}
          -DSCREENSHOT_WIDTH=${BRIM_SCREENSHOT_WIDTH} -DSCREENSHOT_HEIGHT=${BRIM_SCREENSHOT_HEIGHT}
          -P ${PROJECT_SOURCE_DIR}/cmake/metainfo.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/dist/brimstrand.metainfo.xml.in ${PROJECT_SOURCE_DIR}/cmake/metainfo.cmake
  VERBATIM)
set(brim_dist_files ${brim_gzipped} ${brim_dist_dir}/${BRIM_APP_ID}.metainfo.xml)
if(BRIM_SCREENSHOT)
  list(APPEND brim_dist_files ${brim_screenshot})
endif()
add_custom_target(brim_dist_files ALL DEPENDS ${brim_dist_files})

# Two components, which the Debian packaging makes two packages of: the game itself, and its
# pictures and sounds, the same on every architecture.
install(TARGETS brimstrand RUNTIME DESTINATION ${BRIM_INSTALL_GAMEDIR} COMPONENT game)
# Compilers leave their names in .comment; an installed game carries no such section.
install(CODE "execute_process(COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment
  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${BRIM_INSTALL_GAMEDIR}/brimstrand\" COMMAND_ERROR_IS_FATAL ANY)"
  COMPONENT game)
install(FILES ${brim_dist_dir}/${BRIM_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
foreach(size IN LISTS brim_icon_sizes)
  install(FILES ${brim_icon_dir}/hicolor/${size}x${size}/apps/brimstrand.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${BRIM_APP_ID}.png COMPONENT game)
endforeach()
install(FILES ${brim_dist_dir}/${BRIM_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT game)
install(FILES ${brim_dist_dir}/brimstrand.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)
install(FILES ${brim_dist_dir}/changelog.gz ${PROJECT_SOURCE_DIR}/dist/copyright DESTINATION ${brim_doc_dir}
  COMPONENT game)

install(DIRECTORY ${BRIM_BIN_DIR}/gfx ${BRIM_BIN_DIR}/sfx DESTINATION ${brim_share_dir} COMPONENT data)
if(BRIM_SCREENSHOT)
  install(FILES ${brim_screenshot} DESTINATION ${brim_share_dir} COMPONENT data)
endif()
install(FILES ${brim_dist_dir}/changelog.gz ${PROJECT_SOURCE_DIR}/dist/copyright DESTINATION ${brim_doc_dir}-data
  COMPONENT data)

# `cmake --build build --target uninstall` removes what the last install wrote.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt -P ${PROJECT_SOURCE_DIR}/cmake/uninstall.cmake
  VERBATIM)
# `cmake --build build --target dist` packs the tracked files into brimstrand-VERSION.tar.xz.
add_custom_target(dist
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/dist.sh ${PROJECT_VERSION} ${CMAKE_BINARY_DIR}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  VERBATIM)

set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_PACKAGE_NAME brimstrand)
set(CPACK_PACKAGE_VENDOR Brimstrand)
set(CPACK_PACKAGE_CONTACT "${BRIM_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle game with blasts, collapses and flips")
# Each package's first line is its synopsis; Debian wraps nothing itself, so the lines below it
# are kept under 80 columns here.
set(CPACK_DEBIAN_GAME_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}
Seven kinds of four-cell pieces fall into a play field of 20 columns by 32
rows. Full rows clear and the game speeds up.
.
One block in forty is a power-up that slows the fall, blasts its
neighbours, collapses the stack or turns it upside down. The game plays
with the keyboard, the mouse or a gamepad, keeps a table of the ten best
scores with a replay of each, and has a built-in player that shows a demo.")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_GAME_PACKAGE_NAME brimstrand)
set(CPACK_DEBIAN_DATA_PACKAGE_NAME brimstrand-data)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_DESCRIPTION "pictures and sounds of the Brimstrand falling-block game
The pictures and sounds of Brimstrand, generated when the game was built,
and the screenshot its AppStream data shows. They are the same on every
architecture.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
if(BRIM_HOMEPAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${BRIM_HOMEPAGE})
endif()
# The libraries the executable links, found by dpkg-shlibdeps, and those it opens at run time:
# OpenAL, and the GL, GLX (X11) and EGL (Wayland) libraries SDL loads for the window.
set(CPACK_DEBIAN_GAME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "brimstrand-data (= ${PROJECT_VERSION}), libopenal1, libgl1, libglx0, libegl1")
# The package follows the configured prefix, as the compiled-in folder does; the tarball stays
# relocatable, rooted at the prefix.
set(CPACK_PACKAGING_INSTALL_PREFIX "/")
set(CPACK_DEBIAN_PACKAGE_CONFIGURED_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_options.cmake)

# A source package from CPack holds what dist holds: no build folders, no version control.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME brimstrand-${PROJECT_VERSION})
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "\\\\.deb$" "/CMakeCache\\\\.txt$" "/_CPack_Packages/")
include(CPack)
