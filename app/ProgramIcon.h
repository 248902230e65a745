// The program's icon, drawn rather than shipped as images: a blue tile with
// a row of hexadecimal digits.
#pragma once

#include <QIcon>

QIcon ProgramIcon();
