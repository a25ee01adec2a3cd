# Fails when a source file includes from a layer above its own.
#   cmake -DTELLURIX_SOURCE=<src folder> -P check_layers.cmake
# Layers, bottom to top; a file may include from its own folder and those below.
# Only the Windows implementation itself may include platform/win32/.
set(layers core platform search settings ui app)

get_filename_component(TELLURIX_SOURCE "${TELLURIX_SOURCE}" ABSOLUTE)
if(NOT IS_DIRECTORY "${TELLURIX_SOURCE}")
    message(FATAL_ERROR "no source folder: '${TELLURIX_SOURCE}'")
endif()

file(GLOB_RECURSE files RELATIVE "${TELLURIX_SOURCE}" "${TELLURIX_SOURCE}/*.h" "${TELLURIX_SOURCE}/*.cpp")
set(violations "")
foreach(file IN LISTS files)
    string(REGEX MATCH "^[^/]+" layer "${file}")
    list(FIND layers "${layer}" own)
    if(own EQUAL -1)
        continue()
    endif()
    file(STRINGS "${TELLURIX_SOURCE}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" included "${line}")
        string(REGEX MATCH "^[^/]+" target "${included}")
        list(FIND layers "${target}" theirs)
        if(included MATCHES "^\\.\\./|/\\.\\./")
            string(APPEND violations "  ${file}: relative include ${included}\n")
        elseif(theirs GREATER own)
            string(APPEND violations "  upward include: ${file} -> ${included}\n")
        elseif(included MATCHES "^platform/win32/" AND NOT file MATCHES "^platform/win32/")
            string(APPEND violations "  ${file}: only the Windows layer includes ${included}\n")
        endif()
    endforeach()
endforeach()

if(violations)
    message(FATAL_ERROR "Includes that break the layers (core < platform < search < settings < ui < app):\n"
                        "${violations}")
endif()
