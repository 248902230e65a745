// Identifiers of the display's own texts in the string table.
#pragma once

enum : unsigned {
    IDS_DATA_READ_ONLY = 36864,
    IDS_OUT_OF_MEMORY = 36865,
};
