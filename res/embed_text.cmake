# SPDX-License-Identifier: GPL-3.0-or-later
# Turns a text file into a C++ source holding it as a character array.
# Usage: cmake -DINPUT=file.txt -DOUTPUT=file.cpp -DNAME=kSymbol -P embed_text.cmake
file(READ "${INPUT}" content HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
string(LENGTH "${content}" hex_length)
math(EXPR length "${hex_length} / 2")
get_filename_component(input_name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
    "// Generated at build time from ${input_name}; edit that file instead.\n"
    "#include <cstddef>\n\n"
    "namespace kelvane::res {\n"
    "extern const char ${NAME}[];\n"
    "extern const std::size_t ${NAME}Size;\n"
    "const char ${NAME}[] = {${bytes}'\\0'};\n"
    "const std::size_t ${NAME}Size = ${length};\n"
    "}  // namespace kelvane::res\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
