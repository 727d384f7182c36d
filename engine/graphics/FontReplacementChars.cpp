#include "engine/graphics/FontReplacementChars.h"

uint32_t GetReplacementChar(uint32_t ch) {
    switch (ch) {
        case 0x00A0:
            return ' ';
        case 0x00AB:
        case 0x00BB:
        case 0x201C:
        case 0x201D:
        case 0x201E:
        case 0x201F:
            return '"';
        case 0x00AD:
        case 0x2010:
        case 0x2011:
        case 0x2012:
        case 0x2013:
        case 0x2014:
        case 0x2015:
        case 0x25A0:
            return '-';
        case 0x0401:
            return 0x0415;
        case 0x0451:
            return 0x0435;
        case 0x2018:
        case 0x2019:
        case 0x201A:
        case 0x201B:
            return '\'';
        case 0x2022:
        case 0x25CB:
            return '*';
        case 0x2039:
            return '<';
        case 0x203A:
            return '>';
        case 0x2044:
            return '/';
        case 0x25CF:
        case 0x25E6:
        case 0x26AA:
            return 'o';
        default:
            return 0;
    }
}
