# Debian packages of the install components (cpack in the build folder): talv-elgroup, the
# application, and libtalv-elgroup-dev, the library for other hosts. Included after TalvInstall.

# The Debian package that holds `file`, for dependencies that no binary links: Qt's plugins, the
# development files a host builds against. Answers nothing, and says so, where dpkg knows no owner.
function(talv_debian_package_of file out)
  set(${out} "" PARENT_SCOPE)
  find_program(TALV_DPKG_QUERY dpkg-query)
  # dpkg records the path a package ships (a development symlink, not its target); a path found
  # through another spelling of a merged /usr folder is known only by its real path.
  file(REAL_PATH "${file}" real_file)
  foreach(path IN ITEMS "${file}" "${real_file}")
    if(TALV_DPKG_QUERY)
      execute_process(COMMAND ${TALV_DPKG_QUERY} --search "${path}"
        OUTPUT_VARIABLE owners RESULT_VARIABLE failed ERROR_QUIET)
      # "libqt6sql6-sqlite:amd64: /usr/lib/.../libqsqlite.so"
      if(NOT failed AND owners MATCHES "^([^:, ]+)")
        set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
        return()
      endif()
    endif()
  endforeach()
  message(STATUS "Packaging: no Debian package holds ${file}; the package will not depend on it")
endfunction()

# Loaded by Qt at run time, so dpkg-shlibdeps cannot see them in the program.
set(talv_runtime_depends)
foreach(plugin QSQLiteDriverPlugin QPSQLDriverPlugin)
  find_package(Qt6${plugin} CONFIG QUIET PATHS ${Qt6Sql_DIR} NO_DEFAULT_PATH)
  if(NOT TARGET Qt6::${plugin})
    message(STATUS "Packaging: Qt's ${plugin} is not installed; the package will not depend on it")
    continue()
  endif()
  get_target_property(configurations Qt6::${plugin} IMPORTED_CONFIGURATIONS)
  list(GET configurations 0 configuration)
  get_target_property(location Qt6::${plugin} IMPORTED_LOCATION_${configuration})
  talv_debian_package_of(${location} package)
  list(APPEND talv_runtime_depends ${package})
endforeach()
# The spell check looks for a British or American English dictionary (platform/Speller.cpp).
list(APPEND talv_runtime_depends "hunspell-en-us | hunspell-en-gb")
list(JOIN talv_runtime_depends ", " talv_runtime_depends)

# A host builds against the library with Qt's and Hunspell's development files and pkg-config.
set(talv_development_depends)
get_target_property(hunspell_libraries PkgConfig::HUNSPELL INTERFACE_LINK_LIBRARIES)
foreach(file ${Qt6_DIR}/Qt6Config.cmake ${hunspell_libraries} ${PKG_CONFIG_EXECUTABLE})
  talv_debian_package_of(${file} package)
  list(APPEND talv_development_depends ${package})
endforeach()
list(JOIN talv_development_depends ", " talv_development_depends)
message(STATUS "Packaging: talv-elgroup depends on ${talv_runtime_depends} beside the linked libraries; "
               "libtalv-elgroup-dev on ${talv_development_depends}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talv-elgroup)
set(CPACK_PACKAGE_VENDOR "TALV")
set(CPACK_PACKAGE_CONTACT "TALV ELGroup maintainers <maintainers@talv.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# CPack strips the program; the static libraries lose their debug sections here (their symbol
# tables stay, or nothing could link them).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/TalvStripArchives.cmake)
set(CPACK_TALV_STRIP ${CMAKE_STRIP})

set(CPACK_COMPONENTS_ALL application development)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

set(CPACK_DEBIAN_APPLICATION_PACKAGE_NAME talv-elgroup)
set(CPACK_DEBIAN_APPLICATION_PACKAGE_SECTION science)
# Each description's first line is its package's synopsis.
set(CPACK_COMPONENT_APPLICATION_DESCRIPTION "Find, view and edit element groups in a conservation database
TALV ELGroup keeps named, typed groups of plants, animals and ecological communities with their
members, literature references and audit trail, in a SQLite file of the user's own or a shared
PostgreSQL database.")
# The libraries the program links come from dpkg-shlibdeps, the rest from above.
set(CPACK_DEBIAN_APPLICATION_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_APPLICATION_PACKAGE_DEPENDS "${talv_runtime_depends}")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libtalv-elgroup-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "Element-group screens for Qt applications (development files)
The search and record screens of TALV ELGroup as static libraries with their headers and the CMake
package TalvElGroup, for host applications that embed them with business clients of their own or
the reference clients.")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${talv_development_depends}")
# The schema and sample scripts a host's database is made from come with the application.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_RECOMMENDS talv-elgroup)

include(CPack)
