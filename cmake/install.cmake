# What `cmake --install` puts where, under the prefix:
#   bin/orvendale                                the program
#   lib/orvendale/orvendale-*.so                 its plugins (see orvendale_plugin)
#   share/man/man1/orvendale.1.gz                the manual page
#   share/doc/orvendale/                         README, examples, the cron line, the
#                                                package's copyright file and changelog
#   share/systemd/user/orvendale@.{service,timer} the daily redraw, for `systemctl --user`
# share/systemd/user is where the user's service manager looks under /usr, /usr/local
# and ~/.local alike (as $XDG_DATA_HOME/systemd/user).

install(TARGETS orvendale RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The manual page, compressed as Debian packages want it; -n keeps the file the same
# from build to build.
set(manual_page ${PROJECT_BINARY_DIR}/man/orvendale.1.gz)
add_custom_command(OUTPUT ${manual_page}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
  COMMAND ${ORVENDALE_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/man/orvendale.1 > ${manual_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/man/orvendale.1
  COMMENT "Compressing the manual page")
add_custom_target(orvendale_manual_page ALL DEPENDS ${manual_page})
install(FILES ${manual_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Building the program builds everything its installation installs, so that the tree
# `./run.sh` builds (the program alone) installs and packages as a whole build does.
add_dependencies(orvendale orvendale_manual_page orvendale_package_changelog)
orvendale_package_documents(orvendale orvendale)

# The project is "Orvendale"; the folder of its documents is spelt as the program is.
set(doc_folder ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvendale)
install(FILES README.md contrib/cron/orvendale.cron DESTINATION ${doc_folder})
install(DIRECTORY examples/ DESTINATION ${doc_folder}/examples)

# The units name the program by its path; they are written at install time, so that they
# name the program where this installation puts it (`--prefix ~/.local` included). Each
# prefix gets its own staging folder, so installations to different prefixes never share
# a file.
install(CODE "
  set(program \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/orvendale\")
  if(IS_ABSOLUTE \"${CMAKE_INSTALL_BINDIR}\")
    set(program \"${CMAKE_INSTALL_BINDIR}/orvendale\")
  endif()
  string(MD5 staging \"\${program}\")
  set(staging \"${PROJECT_BINARY_DIR}/systemd/\${staging}\")
  foreach(unit orvendale@.service orvendale@.timer)
    file(READ \"${PROJECT_SOURCE_DIR}/contrib/systemd/\${unit}\" text)
    string(REPLACE \"/usr/bin/orvendale\" \"\${program}\" text \"\${text}\")
    file(WRITE \"\${staging}/\${unit}\" \"\${text}\")
  endforeach()
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/systemd/user\" TYPE FILE
       FILES \"\${staging}/orvendale@.service\" \"\${staging}/orvendale@.timer\")
")
