#include "builder/colours.h"

namespace builder {

std::int64_t layerColour(std::int64_t constant) {
    if (constant >= 30) {
        return constant;
    }
    switch (constant) {
        case 0:
            return 7;
        case 20:
            return 200;
        case 21:
            return 24;
        case 22:
            return 30;
        case 23:
            return 83;
        case 24:
            return 150;
        case 25:
            return 171;
        case 26:
            return 9;
        case 27:
            return 8;
        case 28:
            return 241;
        default:
            return constant;  // 1 to 19, 29 and negative values
    }
}

}  // namespace builder
