# cmake -DIN=<file.res> -DOUT=<file.cpp> -P embed.cmake
# Writes a C++ source holding the bytes of IN as the stand-in's module resource section.
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
# Sixteen bytes to a line (CMake's regular expressions have no repeat count).
string(REPEAT "[0-9a-f][0-9a-f]" 16 line)
string(REGEX REPLACE "(${line})" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUT}"
     "// Generated from ${IN} by res/embed.cmake; do not edit.\n"
     "extern \"C\" const unsigned char standin_module_resources[] = {\n${bytes}\n};\n"
     "extern \"C\" const unsigned long standin_module_resources_size = ${size};\n")
