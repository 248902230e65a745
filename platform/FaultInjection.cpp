#include "platform/FaultInjection.h"

namespace platform {

namespace {
FaultInjector* g_injector = nullptr;
}

FaultInjector* SetFaultInjector(FaultInjector* injector) {
    FaultInjector* previous = g_injector;
    g_injector = injector;
    return previous;
}

FaultInjector* CurrentFaultInjector() {
    return g_injector;
}

#ifndef _WIN32
void UseMoveForReplaceForTests(bool) {}
#endif

} // namespace platform
