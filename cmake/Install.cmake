# Installing Holvan beyond its programs: the starter memory, the support page,
# the launcher holvan-start, the manual pages, the desktop entry, the icons
# and the AppStream metainfo.

# The desktop entry's name, which the window gives as its own, names the icons
# too; AppStream's component id is the same in lower case, as it prefers.
set(HOLVAN_APP_ID io.github.holvan.Holvan)
string(TOLOWER ${HOLVAN_APP_ID} HOLVAN_COMPONENT_ID)
set(HOLVAN_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/holvan)

# The files Holvan never creates itself; holvan-start copies them into the
# user's memory folder.
set(HOLVAN_STARTER_FILES data/dic.dat data/brain.dat data/holv.dat data/res.dat)
list(TRANSFORM HOLVAN_STARTER_FILES PREPEND ${PROJECT_SOURCE_DIR}/)
install(FILES ${HOLVAN_STARTER_FILES} DESTINATION ${HOLVAN_SHARE_DIR}/data)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/help/
        DESTINATION ${HOLVAN_SHARE_DIR}/help)

# The installed launcher finds the programs beside itself and the starter
# files relative to it, so an install moved with --prefix or DESTDIR still
# works.
file(RELATIVE_PATH HOLVAN_DATA_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/holvan/data)
set(HOLVAN_START_WINDOW [["$here/holvan"]])
set(HOLVAN_START_TERM [["$here/holvan-term"]])
set(HOLVAN_START_MEMORY [["$here/holvan-memory"]])
set(HOLVAN_START_EDITOR [["$here/holvan-memory-editor"]])
set(HOLVAN_START_DATA "\"\$here/${HOLVAN_DATA_FROM_BIN}\"")
configure_file(${PROJECT_SOURCE_DIR}/packaging/holvan-start.in
               ${PROJECT_BINARY_DIR}/packaging/holvan-start @ONLY)
install(PROGRAMS ${PROJECT_BINARY_DIR}/packaging/holvan-start
        DESTINATION ${CMAKE_INSTALL_BINDIR})

# The build folder's launcher runs the programs just built on the source
# tree's starter files.
if(TARGET holvan)
  set(HOLVAN_START_WINDOW "'$<TARGET_FILE:holvan>'")
else()
  set(HOLVAN_START_WINDOW "''")
endif()
set(HOLVAN_START_TERM "'$<TARGET_FILE:holvan-term>'")
set(HOLVAN_START_MEMORY "'$<TARGET_FILE:holvan-memory>'")
if(TARGET holvan-memory-editor)
  set(HOLVAN_START_EDITOR "'$<TARGET_FILE:holvan-memory-editor>'")
else()
  set(HOLVAN_START_EDITOR "''")
endif()
set(HOLVAN_START_DATA "'${PROJECT_SOURCE_DIR}/data'")
configure_file(${PROJECT_SOURCE_DIR}/packaging/holvan-start.in
               ${PROJECT_BINARY_DIR}/packaging/holvan-start.build @ONLY)
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/holvan-start
     INPUT ${PROJECT_BINARY_DIR}/packaging/holvan-start.build
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                      GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The manual pages: man/NAME.N in English and man/<language>/NAME.N, each in
# section N where man finds it for the reader's language.
file(GLOB_RECURSE HOLVAN_MANUAL_PAGES CONFIGURE_DEPENDS RELATIVE
     ${PROJECT_SOURCE_DIR}/man ${PROJECT_SOURCE_DIR}/man/*.[1-8])
foreach(page ${HOLVAN_MANUAL_PAGES})
  get_filename_component(language ${page} DIRECTORY)
  string(REGEX MATCH "[1-8]$" section ${page})
  install(FILES ${PROJECT_SOURCE_DIR}/man/${page}
          DESTINATION ${CMAKE_INSTALL_MANDIR}/${language}/man${section})
endforeach()

# bash completion, found by bash-completion under each program's name.
foreach(program holvan holvan-start holvan-term holvan-memory
        holvan-memory-editor)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/completions/holvan
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME ${program})
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/holvan.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        RENAME ${HOLVAN_APP_ID}.desktop)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${HOLVAN_COMPONENT_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/packaging/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/holvan.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${HOLVAN_APP_ID}.svg)
# The README with the pictures it shows.
install(FILES ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(GLOB HOLVAN_README_PICTURES ${PROJECT_SOURCE_DIR}/docs/*.png)
install(FILES ${HOLVAN_README_PICTURES} DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
