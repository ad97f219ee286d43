# Writes the bytes of INPUT into OUTPUT as a C++ array named NAME, with NAME_size, so that the
# program carries the phone's page and never reads it from disk.
# cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P embed_file.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
     "// Generated from ${INPUT} by share/embed_file.cmake.\n"
     "#include <cstddef>\n\nnamespace tessera {\n"
     "extern const unsigned char ${NAME}[] = {\n${bytes}0x00};\n"
     "extern const std::size_t ${NAME}_size = ${size};\n}\n")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
