#include "shell/result_server_port.h"

#include <map>

namespace {

ResultServerFactory g_factory = nullptr;

std::map<UINT, ServerCommandHandler>& Handlers()
{
    static std::map<UINT, ServerCommandHandler> handlers;
    return handlers;
}

} // namespace

void SetResultServerFactory(ResultServerFactory factory)
{
    g_factory = factory;
}

ResultServerFactory GetResultServerFactory()
{
    return g_factory;
}

void SetServerCommandHandler(UINT id, ServerCommandHandler handler)
{
    if (handler)
        Handlers()[id] = handler;
    else
        Handlers().erase(id);
}

ServerCommandHandler GetServerCommandHandler(UINT id)
{
    const auto it = Handlers().find(id);
    return it == Handlers().end() ? nullptr : it->second;
}
