# Writes the text file IN as a C++ raw string literal named NAME into OUT.
file(READ ${IN} CONTENT)
file(WRITE ${OUT} "constexpr const char* ${NAME} = R\"VXLAYOUT(${CONTENT})VXLAYOUT\";\n")
