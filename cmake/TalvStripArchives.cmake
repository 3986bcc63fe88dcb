# Run by CPack on its staging folder: drops the debug sections of the static libraries, which
# would make up most of the development package. Their symbol tables stay.
file(GLOB_RECURSE archives "${CPACK_TEMPORARY_DIRECTORY}/*.a")
foreach(archive IN LISTS archives)
  execute_process(COMMAND ${CPACK_TALV_STRIP} --strip-debug "${archive}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
