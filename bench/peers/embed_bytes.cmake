# cmake -DINPUT=FILE -DOUTPUT=HEADER -DNAME=IDENTIFIER -P embed_bytes.cmake
# writes HEADER declaring `static const unsigned char IDENTIFIER[]` with
# FILE's bytes.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}" "/* Generated from ${INPUT} by embed_bytes.cmake. */\nstatic const unsigned char ${NAME}[] = {\n    ${bytes}\n};\n")
