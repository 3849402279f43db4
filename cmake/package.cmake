# `cpack` (in the build folder) makes the Debian packages of the installation, split as
# Debian splits such tools:
#   orvendale            the program, its manual page, the examples and the user units;
#                        it needs only what a default run loads
#   orvendale-NAME       one per plugin of ORVENDALE_PLUGINS (src/plugins/CMakeLists.txt),
#                        holding orvendale-NAME.so; the program suggests each
# The dependencies are read from the libraries each package's files link
# (dpkg-shlibdeps), so they follow whatever this machine built against. A plugin's package
# needs the program of the same version: the plugin's interface is that version's.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvendale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvendale")
set(CPACK_PACKAGE_CONTACT ${ORVENDALE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORVENDALE_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_COMPONENTS_ALL orvendale ${ORVENDALE_PLUGINS})

# The program. The first line of a description is its summary, the rest the long
# description, in lines of at most 80 characters.
set(CPACK_DEBIAN_ORVENDALE_PACKAGE_NAME orvendale)
set(CPACK_DEBIAN_ORVENDALE_DESCRIPTION "draws a PNG picture of today's date
Orvendale draws one picture about today's date from a settings file in INI
form: a line of text such as the weekday and the day, a month heading, or a
month grid with Sundays, Saturdays, holidays and today in colours of their
own. The picture has a transparent background, for desktop widgets, web
pages and e-ink displays. A user timer for systemd redraws it every day.")

# One package per plugin.
set(plugin_packages)
foreach(plugin ${ORVENDALE_PLUGINS})
  string(TOUPPER ${plugin} component)
  get_property(summary GLOBAL PROPERTY ORVENDALE_PLUGIN_${plugin}_SUMMARY)
  get_property(description GLOBAL PROPERTY ORVENDALE_PLUGIN_${plugin}_DESCRIPTION)
  set(CPACK_DEBIAN_${component}_PACKAGE_NAME orvendale-${plugin})
  set(CPACK_DEBIAN_${component}_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_${component}_PACKAGE_DEPENDS "orvendale (= ${PROJECT_VERSION})")
  set(CPACK_DEBIAN_${component}_DESCRIPTION "${summary}\n${description}")
  list(APPEND plugin_packages orvendale-${plugin})
endforeach()
# Most runs need none of the plugins: the program suggests them rather than recommending
# them, so that installing it never pulls in Qt, libical or ICU.
list(JOIN plugin_packages ", " CPACK_DEBIAN_ORVENDALE_PACKAGE_SUGGESTS)
# The fonts a run draws with when its settings name none (the built-in face stands for
# IPAGothic) and those the examples name; any other font serves too.
set(CPACK_DEBIAN_ORVENDALE_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, fonts-dejavu-core")

include(CPack)
