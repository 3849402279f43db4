# Every Debian package carries its own copyright file and changelog in
# share/doc/PACKAGE. The changelog names the package's version and its maintainer, both
# set at configure time (ORVENDALE_PACKAGE_MAINTAINER), and is compressed as a Debian
# native package keeps it.

set(ORVENDALE_PACKAGE_MAINTAINER "Orvendale developers <orvendale@example.org>"
    CACHE STRING "Maintainer field of the Debian packages, as 'Name <address>'")

find_program(ORVENDALE_GZIP gzip REQUIRED)
configure_file(${PROJECT_SOURCE_DIR}/contrib/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
set(ORVENDALE_PACKAGE_CHANGELOG ${PROJECT_BINARY_DIR}/debian/changelog.gz)
# -n keeps the file the same from build to build.
add_custom_command(OUTPUT ${ORVENDALE_PACKAGE_CHANGELOG}
  COMMAND ${ORVENDALE_GZIP} -9 -n -c ${PROJECT_BINARY_DIR}/debian/changelog > ${ORVENDALE_PACKAGE_CHANGELOG}
  DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog
  COMMENT "Compressing the package changelog")
add_custom_target(orvendale_package_changelog ALL DEPENDS ${ORVENDALE_PACKAGE_CHANGELOG})

# Installs the copyright file and the changelog of package `package` with the files of
# install component `component`.
function(orvendale_package_documents package component)
  install(FILES ${PROJECT_SOURCE_DIR}/contrib/debian/copyright ${ORVENDALE_PACKAGE_CHANGELOG}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
endfunction()
