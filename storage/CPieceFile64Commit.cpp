// Writing the edits back into the file.
#include "storage/CPieceFile64.h"

void CPieceFile64::Flush() {
    if (m_bReadOnly)
        return;
    throw CFileException(CFileException::genericException, -1, m_strSourcePath); // not yet
}
