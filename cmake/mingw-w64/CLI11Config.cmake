# CLI11 for the MinGW-w64 cross build. CLI11 is header-only, so the host's copy serves, but
# its own package would put the host's /usr/include (glibc headers) before the cross
# compiler's; its headers are copied into the build folder instead.
find_path(QUARRIX_HOST_CLI11_INCLUDE CLI/CLI.hpp
          PATHS /usr/include /usr/local/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT QUARRIX_HOST_CLI11_INCLUDE)
  set(CLI11_FOUND FALSE)
  set(CLI11_NOT_FOUND_MESSAGE "CLI/CLI.hpp not found on the host (package libcli11-dev)")
  return()
endif()

set(_quarrix_cli11_copy ${CMAKE_BINARY_DIR}/host-cli11/include)
file(COPY ${QUARRIX_HOST_CLI11_INCLUDE}/CLI DESTINATION ${_quarrix_cli11_copy})
if(NOT TARGET CLI11::CLI11)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES
                                                ${_quarrix_cli11_copy})
endif()
set(CLI11_FOUND TRUE)
