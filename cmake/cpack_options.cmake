# Read by cpack for each generator: the Debian package installs under the prefix the build was
# configured for, which has to be /usr for a distribution.
if(CPACK_GENERATOR STREQUAL "DEB")
  if(NOT CPACK_DEBIAN_PACKAGE_CONFIGURED_PREFIX STREQUAL "/usr")
    message(FATAL_ERROR "the Debian package needs a build configured with -DCMAKE_INSTALL_PREFIX=/usr "
                        "(this one has ${CPACK_DEBIAN_PACKAGE_CONFIGURED_PREFIX})")
  endif()
  set(CPACK_PACKAGING_INSTALL_PREFIX "${CPACK_DEBIAN_PACKAGE_CONFIGURED_PREFIX}")
  # The two packages have synopses of their own, on the first line of their descriptions: the
  # common summary would be put before both.
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CPACK_DEFAULT_PACKAGE_DESCRIPTION_SUMMARY}")
endif()
