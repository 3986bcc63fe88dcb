# Warnings are errors everywhere; every target links talv_options through talv_target_defaults().
add_library(talv_options INTERFACE)
target_compile_options(talv_options INTERFACE -Wall -Wextra -Wshadow -Werror)
target_compile_definitions(talv_options INTERFACE QT_NO_FOREACH QT_NO_CAST_TO_ASCII)

if(TALV_SANITIZE)
  target_compile_options(talv_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(talv_options INTERFACE -fsanitize=address,undefined)
endif()

# Only inside this build: a host that links the installed library keeps its own warning flags.
function(talv_target_defaults target)
  target_link_libraries(${target} PRIVATE $<BUILD_INTERFACE:talv_options>)
endfunction()
