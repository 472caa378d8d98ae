#include "platform/faults.h"

namespace corvane {

namespace {

FaultInjector& Injector()
{
    static FaultInjector injector;
    return injector;
}

}  // namespace

void SetFaultInjector(FaultInjector injector)
{
    Injector() = std::move(injector);
}

int InjectedFault(FileOp op, std::string_view path)
{
    const FaultInjector& injector = Injector();
    return injector ? injector(op, path) : 0;
}

}  // namespace corvane
