# Compiler settings shared by every target of the project.

option(QS_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

function(qs_apply_project_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
  if(QS_SANITIZE)
    target_compile_options(${target} PRIVATE
      -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
