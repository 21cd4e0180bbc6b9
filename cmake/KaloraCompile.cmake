# Compiler settings shared by every target of the project.

add_library(kalora_options INTERFACE)
target_compile_options(kalora_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
  -Wno-sign-conversion)

if(KALORA_SANITIZE)
  target_compile_options(kalora_options INTERFACE -fsanitize=address,undefined
    -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(kalora_options INTERFACE -fsanitize=address,undefined)
endif()

if(KALORA_FUZZ)
  # Every library carries libFuzzer's coverage hooks and both sanitizers; only the fuzz
  # targets link libFuzzer itself (tests/fuzz).
  target_compile_options(kalora_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
    -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(kalora_options INTERFACE -fsanitize=address,undefined)
endif()

if(WIN32)
  # Programs need no DLL beyond the system's and the printer maker's.
  target_link_options(kalora_options INTERFACE -static -static-libgcc -static-libstdc++)
  target_compile_definitions(kalora_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=0x0601)
endif()

# kalora_library(name SOURCES... [LINKS ...]): a static library of the project.
function(kalora_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC kalora_options ${ARG_LINKS})
endfunction()
