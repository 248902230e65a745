#include "framework/CommandGuard.h"

#include "framework/Prompt.h"
#include "resources/StringTable.h"
#include "storage/CFileException.h"

#include <new>

void ReportException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const CFileException& e) {
        AfxMessageBox(QString::fromUtf8(e.GetErrorMessage().c_str()), MB_OK | MB_ICONSTOP);
    } catch (const std::bad_alloc&) {
        AfxMessageBox(AFX_IDP_FAILED_MEMORY_ALLOC, MB_OK | MB_ICONSTOP);
    } catch (...) {
        AfxMessageBox(AFX_IDP_COMMAND_FAILURE, MB_OK | MB_ICONSTOP);
    }
}
