#pragma once

#include <cstdio>

namespace tessera {

// The white space of the picture-set files: space, \t, \n, \v, \f and \r, whatever the
// locale says.
inline bool isWhiteSpace(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Consumes white space and returns the next byte (or EOF) without consuming it.
inline int skipWhiteSpace(std::FILE* in) {
    int c = std::getc(in);
    while (isWhiteSpace(c)) {
        c = std::getc(in);
    }
    if (c != EOF) {
        std::ungetc(c, in);
    }
    return c;
}

} // namespace tessera
