# Turns the pictures under assets/ into a C++ source of byte arrays, so that the
# program carries them inside itself and the unit tests can decode the same bytes.
file(GLOB TELLURIX_ICON_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/icons/image*.ico)
# Image 8, the tray's globe, comes from the program's icon resource (app.ico),
# in the size the shell picks.
list(FILTER TELLURIX_ICON_FILES EXCLUDE REGEX "/image8\\.ico$")
file(GLOB TELLURIX_BACKGROUND_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/backgrounds/background*.png)
set(TELLURIX_EMBEDDED_INPUTS ${TELLURIX_ICON_FILES} ${TELLURIX_BACKGROUND_FILES})
set(TELLURIX_EMBEDDED_SOURCE ${CMAKE_BINARY_DIR}/generated/embedded_assets.cpp)

add_custom_command(
    OUTPUT ${TELLURIX_EMBEDDED_SOURCE}
    COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${TELLURIX_EMBEDDED_SOURCE}" "-DINPUTS=${TELLURIX_EMBEDDED_INPUTS}"
            -P ${CMAKE_SOURCE_DIR}/cmake/embed_assets_script.cmake
    DEPENDS ${TELLURIX_EMBEDDED_INPUTS} ${CMAKE_SOURCE_DIR}/cmake/embed_assets_script.cmake
    COMMENT "Embedding pictures"
    VERBATIM)
