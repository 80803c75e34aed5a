#pragma once

#include <string>
#include <vector>

#include "recognize/LineSymbols.h"

namespace zelvo {

// Symbols from a line written with a space between words; one character each, boxes along x.
inline std::vector<Symbol> Read(const std::string& line) {
    std::vector<Symbol> symbols;
    bool wordStart = true;
    int x = 0;
    for (size_t at = 0; at < line.size();) {
        if (line[at] == ' ') {
            wordStart = true;
            ++at;
            continue;
        }
        // UTF-8: a character is its lead byte and the continuation bytes after it.
        size_t length = 1;
        while (at + length < line.size() && (line[at + length] & 0xC0) == 0x80) ++length;
        Symbol symbol;
        symbol.text = line.substr(at, length);
        symbol.left = x;
        symbol.right = x + 10;
        symbol.startsWord = wordStart;
        symbols.push_back(symbol);
        wordStart = false;
        x += 12;
        at += length;
    }
    return symbols;
}

}  // namespace zelvo
