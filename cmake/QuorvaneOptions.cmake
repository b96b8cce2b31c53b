# Compiler settings shared by every target of the project.

option(QS_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
# For the libFuzzer target (clang only): every object is instrumented for the
# fuzzer and built with both sanitizers; the target itself links libFuzzer.
option(QS_FUZZ "Build the fuzz target with libFuzzer, ASan and UBSan" OFF)

function(qs_apply_project_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
  if(QS_FUZZ)
    target_compile_options(${target} PRIVATE
      -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  elseif(QS_SANITIZE)
    target_compile_options(${target} PRIVATE
      -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Release builds are optimised across translation units: the path a line
# takes runs through many small functions in several files.
include(CheckIPOSupported)
check_ipo_supported(RESULT qs_ipo_supported LANGUAGES CXX)
if(qs_ipo_supported)
  set(CMAKE_INTERPROCEDURAL_OPTIMIZATION_RELEASE ON)
endif()
