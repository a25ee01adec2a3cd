# cmake -DOUTPUT=file.cpp -DINPUTS="a.ico;b.png" -P embed_assets_script.cmake
# The image number is the number in the file name (image8.ico -> 8, background103.png -> 103).
set(body "")
set(table "")
set(count 0)
foreach(input IN LISTS INPUTS)
    get_filename_component(name "${input}" NAME_WE)
    string(REGEX MATCH "[0-9]+$" number "${name}")
    file(READ "${input}" hex HEX)
    string(LENGTH "${hex}" hex_length)
    math(EXPR size "${hex_length} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
    string(APPEND body "const unsigned char kImage${number}[${size}] = {\n${bytes}};\n")
    string(APPEND table "    {${number}, kImage${number}, ${size}},\n")
    math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
    set(table "    {0, nullptr, 0},\n")
endif()
file(WRITE "${OUTPUT}.new" "// Generated from assets/ by cmake/embed_assets_script.cmake; do not edit.
#include \"ui/embedded_assets.h\"

namespace tellurix {
namespace {
${body}
}  // namespace

const EmbeddedImage kEmbeddedImages[] = {
${table}};
const std::size_t kEmbeddedImageCount = ${count};

}  // namespace tellurix
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
