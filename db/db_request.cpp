#include "db/db_request.h"

namespace {

using R = DbRequest;

} // namespace

std::optional<DbRequest> RequestOfName(std::string_view name)
{
    for (const db_request::Naming& naming : db_request::kNames) {
        if (name == naming.name)
            return naming.request;
    }
    return std::nullopt;
}

bool IsResultsRequest(DbRequest request)
{
    return request == R::ResultAllRead || request == R::ResultItemAllRead || request == R::ResultItemDayRead
        || request == R::ResultDayRead;
}

bool IsTableInsertRead(DbRequest request)
{
    return request == R::ItemInsertRead || request == R::AddInsertRead || request == R::AdvInsertRead
        || request == R::LandAddInsertRead;
}
