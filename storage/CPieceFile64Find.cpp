// Searching the edited content.
#include "storage/CPieceFile64.h"

std::int64_t CPieceFile64::Find(CByteString pattern, int /*matchCase*/, int /*down*/,
                                std::int64_t start, std::int64_t /*limit*/) {
    if (pattern.empty())
        return start;
    return -1; // not yet
}
