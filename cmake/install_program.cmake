# Installs a program with its desktop entry and icon (named after its package) as a package
# component of its own, named after the program.
function(zarni_install_program target package)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${target})
  install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${package}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT ${target})
  install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${package}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT ${target})
endfunction()
