# `cpack` (in the build folder) makes a Debian package of the installation. Its
# dependencies are read from the libraries the program and its plugins link
# (dpkg-shlibdeps), so they follow whatever this machine built against.

set(ORVENDALE_PACKAGE_MAINTAINER "Orvendale developers <orvendale@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvendale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvendale")
set(CPACK_PACKAGE_CONTACT ${ORVENDALE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORVENDALE_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The first line is the summary, the rest the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "draws a PNG picture of today's date
Orvendale draws one picture about today's date from a settings file in INI form: a
line of text such as the weekday and the day, a month heading, or a month grid with
Sundays, Saturdays, holidays and today in colours of their own. The picture has a
transparent background, for desktop widgets, web pages and e-ink displays. A user
timer for systemd redraws it every day.")
include(CPack)
