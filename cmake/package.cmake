# Installing and packaging: `cmake --install build --prefix P` lays out a desktop game under P
# (GNUInstallDirs), and `cpack -G DEB` / `cpack -G TGZ` in the build folder make the packages.
include(GNUInstallDirs)

set(BRIM_RELEASE_DATE 2026-12-08)
set(BRIM_HOMEPAGE https://brimstrand.example/)
set(brim_share_dir ${CMAKE_INSTALL_DATADIR}/brimstrand)
set(BRIM_INSTALLED_ASSET_FOLDER ${CMAKE_INSTALL_FULL_DATADIR}/brimstrand)

# The version and the compiled-in asset folder reach the game through one source file.
set_source_files_properties(${PROJECT_SOURCE_DIR}/app/shell/build_info.cpp TARGET_DIRECTORY brim_app_shell PROPERTIES
  COMPILE_DEFINITIONS "BRIM_VERSION=\"${PROJECT_VERSION}\";BRIM_INSTALLED_ASSET_FOLDER=\"${BRIM_INSTALLED_ASSET_FOLDER}\"")

# Menu icons, painted by the asset generator at every size the desktop asks for.
set(brim_icon_dir ${CMAKE_BINARY_DIR}/icons)
set(brim_icon_files)
foreach(size 16 32 48 64 128 256 512)
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
configure_file(${PROJECT_SOURCE_DIR}/dist/brimstrand.metainfo.xml.in ${brim_dist_dir}/brimstrand.metainfo.xml @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/brimstrand.6.in ${brim_dist_dir}/brimstrand.6 @ONLY)

install(TARGETS brimstrand RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${BRIM_BIN_DIR}/gfx ${BRIM_BIN_DIR}/sfx DESTINATION ${brim_share_dir})
install(FILES ${PROJECT_SOURCE_DIR}/dist/brimstrand.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${brim_icon_dir}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${brim_dist_dir}/brimstrand.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${brim_dist_dir}/brimstrand.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_PACKAGE_NAME brimstrand)
set(CPACK_PACKAGE_VENDOR Brimstrand)
set(CPACK_PACKAGE_CONTACT "Brimstrand maintainers <dev@brimstrand.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle game with blasts, collapses and flips")
set(CPACK_PACKAGE_DESCRIPTION "Seven kinds of four-cell pieces fall into a play field of 20 columns by 32 rows. \
Full rows clear, and one block in forty is a power-up that slows the fall, blasts its neighbours, \
collapses the stack or turns it upside down.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${BRIM_HOMEPAGE})
# The real library dependencies of the executable, plus OpenAL, which it opens at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libopenal1)
set(CPACK_DEBIAN_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
