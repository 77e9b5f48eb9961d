# nlohmann-json for the MinGW-w64 cross build. It is header-only, so the host's copy serves,
# but its own package would put the host's /usr/include (glibc headers) before the cross
# compiler's; its headers are copied into the build folder instead.
find_path(QUARRIX_HOST_NLOHMANN_JSON_INCLUDE nlohmann/json.hpp
          PATHS /usr/include /usr/local/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT QUARRIX_HOST_NLOHMANN_JSON_INCLUDE)
  set(nlohmann_json_FOUND FALSE)
  set(nlohmann_json_NOT_FOUND_MESSAGE
      "nlohmann/json.hpp not found on the host (package nlohmann-json3-dev)")
  return()
endif()

set(_quarrix_json_copy ${CMAKE_BINARY_DIR}/host-nlohmann-json/include)
file(COPY ${QUARRIX_HOST_NLOHMANN_JSON_INCLUDE}/nlohmann DESTINATION ${_quarrix_json_copy})
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES
                                                                ${_quarrix_json_copy})
endif()
set(nlohmann_json_FOUND TRUE)
