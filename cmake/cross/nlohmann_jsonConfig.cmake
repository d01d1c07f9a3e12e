# nlohmann/json for a cross build: the header-only library Debian installs (nlohmann-json3-dev),
# seen through a folder that holds it alone, so that the host's /usr/include stays off the
# target's include path.
set(KAF_NLOHMANN_HEADERS ${CMAKE_BINARY_DIR}/cross-include)
if(NOT EXISTS ${KAF_NLOHMANN_HEADERS}/nlohmann/json.hpp)
    file(MAKE_DIRECTORY ${KAF_NLOHMANN_HEADERS})
    file(CREATE_LINK /usr/include/nlohmann ${KAF_NLOHMANN_HEADERS}/nlohmann SYMBOLIC)
endif()
if(NOT TARGET nlohmann_json::nlohmann_json)
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${KAF_NLOHMANN_HEADERS})
endif()
set(nlohmann_json_FOUND TRUE)
