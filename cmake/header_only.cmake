# CLI11, nlohmann-json and doctest are header-only packages of the build host. Both
# builds reach them through links in the build tree, so that a cross build sees these
# and none of the host's other headers.
set(SG_HEADER_ONLY_INCLUDE ${PROJECT_BINARY_DIR}/header-only)
file(MAKE_DIRECTORY ${SG_HEADER_ONLY_INCLUDE})
foreach(header CLI/CLI.hpp nlohmann/json.hpp doctest/doctest.h)
  get_filename_component(folder ${header} DIRECTORY)
  find_path(SG_${folder}_PARENT ${header} PATHS /usr/include NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(CREATE_LINK ${SG_${folder}_PARENT}/${folder} ${SG_HEADER_ONLY_INCLUDE}/${folder} SYMBOLIC)
endforeach()

add_library(sg_header_only INTERFACE)
target_include_directories(sg_header_only SYSTEM INTERFACE ${SG_HEADER_ONLY_INCLUDE})
