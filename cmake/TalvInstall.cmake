# What `cmake --install` puts where: the application talv-host with its data, help, desktop entry,
# metadata, icon and manual page (component "application"), and the library another host embeds,
# as headers, static libraries and the CMake package TalvElGroup (component "development").
# Included by the top CMakeLists after every target exists.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The library a host embeds, its layers lowest first: TalvElGroup::TalvElGroup links them all. A
# new library layer joins this list and nothing else changes.
set(TALV_LIBRARY_LAYERS platform contracts recordset dialogs search details)
# Installed too, for hosts that would rather use the reference business clients (the client
# framework over Qt SQL, user options, the element-group object) than write their own; a host
# links TalvElGroup::clients by name. The reference host itself (talv_host) stays the application's.
set(TALV_OPTIONAL_LAYERS clients)

set(TALV_APP_ID org.talv.elgroup)
set(TALV_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/talv-elgroup)
set(TALV_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/talv-elgroup)
set(TALV_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/TalvElGroup)

# --- the library --------------------------------------------------------------------------------

set(talv_exported_targets)
foreach(layer IN LISTS TALV_LIBRARY_LAYERS TALV_OPTIONAL_LAYERS)
  set(target talv_${layer})
  if(NOT TARGET ${target})
    message(FATAL_ERROR "TalvInstall.cmake lists the layer '${layer}', but there is no target ${target}")
  endif()
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${layer})
  list(APPEND talv_exported_targets ${target})

  # Every header of the layer: the public ones include the others. Sources include each other as
  # "<layer>/<file>.h", so the folders keep their names.
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(headers)
  foreach(source IN LISTS sources)
    if(source MATCHES "\\.h$")
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir})
      list(APPEND headers ${source})
    endif()
  endforeach()
  install(FILES ${headers} DESTINATION ${TALV_INSTALL_INCLUDEDIR}/${layer} COMPONENT development)
endforeach()

add_library(talv_elgroup INTERFACE)
set_target_properties(talv_elgroup PROPERTIES EXPORT_NAME TalvElGroup)
list(TRANSFORM TALV_LIBRARY_LAYERS PREPEND talv_ OUTPUT_VARIABLE talv_library_targets)
target_link_libraries(talv_elgroup INTERFACE ${talv_library_targets})
add_library(TalvElGroup::TalvElGroup ALIAS talv_elgroup)

install(TARGETS ${talv_exported_targets} talv_elgroup
  EXPORT TalvElGroupTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
  INCLUDES DESTINATION ${TALV_INSTALL_INCLUDEDIR})
install(EXPORT TalvElGroupTargets
  NAMESPACE TalvElGroup::
  DESTINATION ${TALV_INSTALL_CMAKEDIR}
  COMPONENT development)

# The Qt version the library was built with is the least a host may bring.
set(TALV_QT_VERSION ${Qt6_VERSION_MAJOR}.${Qt6_VERSION_MINOR})
configure_package_config_file(cmake/TalvElGroupConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TalvElGroupConfig.cmake
  INSTALL_DESTINATION ${TALV_INSTALL_CMAKEDIR}
  PATH_VARS TALV_INSTALL_DATADIR)
# Before 1.0 a minor version may change the interfaces.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TalvElGroupConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TalvElGroupConfig.cmake ${PROJECT_BINARY_DIR}/TalvElGroupConfigVersion.cmake
  DESTINATION ${TALV_INSTALL_CMAKEDIR}
  COMPONENT development)

# --- the application ----------------------------------------------------------------------------

install(TARGETS talv-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT application)

# The program carries the schema and sample data in itself, so it never depends on these files
# being readable; they are installed for administrators who set a database up by hand and for
# other hosts, which need the same database.
install(DIRECTORY data/schema/ DESTINATION ${TALV_INSTALL_DATADIR}/schema COMPONENT application
  FILES_MATCHING PATTERN "*.sql" PATTERN "README.md")
install(FILES data/sample/sample.sql DESTINATION ${TALV_INSTALL_DATADIR}/sample COMPONENT application)

# The installed program finds its help from its own folder, wherever the prefix is.
install(FILES src/host/help/talv-elgroup.html DESTINATION ${TALV_INSTALL_DATADIR}/help COMPONENT application)
file(RELATIVE_PATH talv_help_from_program ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/talv-elgroup/help)
target_compile_definitions(talv_host PRIVATE TALV_HELP_FROM_PROGRAM="${talv_help_from_program}")

install(FILES packaging/${TALV_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT application)
install(FILES packaging/${TALV_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT application)
configure_file(packaging/${TALV_APP_ID}.metainfo.xml.in ${PROJECT_BINARY_DIR}/${TALV_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${TALV_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT application)
configure_file(packaging/talv-host.1.in ${PROJECT_BINARY_DIR}/talv-host.1 @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/talv-host.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT application)
