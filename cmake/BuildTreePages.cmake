# Installed programs find their pages relative to their own folder, at
# HOLVAN_SHARE_FROM_BIN; no path of the build or source tree is compiled in.
# In the build tree, a link at the same place beside a program leads to the
# source tree's help page, so it runs from there unchanged.
file(RELATIVE_PATH HOLVAN_SHARE_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/holvan)

# holvan_link_pages_beside(target): the help page, linked where the built
# target looks for it.
function(holvan_link_pages_beside target)
  set(share $<TARGET_FILE_DIR:${target}>/${HOLVAN_SHARE_FROM_BIN})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${share}
    COMMAND ${CMAKE_COMMAND} -E create_symlink
            ${PROJECT_SOURCE_DIR}/data/help ${share}/help
    VERBATIM)
endfunction()
