# Warnings and sanitizers shared by every target of the project.
add_library(velloran_options INTERFACE)
target_compile_options(velloran_options INTERFACE -Wall -Wextra)
if(VELLORAN_SANITIZE)
  target_compile_options(velloran_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(velloran_options INTERFACE -fsanitize=address,undefined)
endif()

# velloran_library(NAME SOURCES...) - a shared library with the project's options.
function(velloran_library name)
  add_library(${name} SHARED ${ARGN})
  target_link_libraries(${name} PRIVATE velloran_options)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION 1)
endfunction()
