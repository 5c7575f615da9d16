# cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DSYMBOL=<name> -DSIZE_SYMBOL=<name> -P embed.cmake
# Writes the bytes of INPUT as a C++ array <SYMBOL> with its size <SIZE_SYMBOL>
# (the descriptions are served from memory, so the producer needs no files).
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n\nnamespace simcam\n{\nextern const unsigned char ${SYMBOL}[];\nextern const size_t ${SIZE_SYMBOL};\nconst unsigned char ${SYMBOL}[] = {\n    ${bytes}\n};\nconst size_t ${SIZE_SYMBOL} = ${size};\n} // namespace simcam\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
