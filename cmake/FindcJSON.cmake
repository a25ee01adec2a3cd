# Finds cJSON: Debian's libcjson-dev natively, the static build of
# scripts/setup.sh in the MinGW prefix for Windows. Defines cJSON::cJSON.
find_path(CJSON_INCLUDE_DIR cjson/cJSON.h)
if(WIN32)
    find_library(CJSON_LIBRARY NAMES libcjson.a cjson)
else()
    find_library(CJSON_LIBRARY NAMES cjson)
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(cJSON REQUIRED_VARS CJSON_LIBRARY CJSON_INCLUDE_DIR)

if(cJSON_FOUND AND NOT TARGET cJSON::cJSON)
    add_library(cJSON::cJSON UNKNOWN IMPORTED)
    set_target_properties(cJSON::cJSON PROPERTIES
        IMPORTED_LOCATION "${CJSON_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${CJSON_INCLUDE_DIR}")
    if(WIN32)
        # The static library exports nothing; its header must not ask for DLL imports.
        set_property(TARGET cJSON::cJSON PROPERTY INTERFACE_COMPILE_DEFINITIONS CJSON_HIDE_SYMBOLS)
    endif()
endif()
mark_as_advanced(CJSON_INCLUDE_DIR CJSON_LIBRARY)
