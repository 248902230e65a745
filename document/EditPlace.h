// Where a view's caret and anchor stood, kept with each undo step so that undo
// and redo put them back.
#pragma once

#include <cstdint>

struct CEditPlace {
    std::int64_t caret = 0;
    std::int64_t anchor = 0;
};
