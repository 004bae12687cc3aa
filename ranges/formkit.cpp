#include "ranges/formkit.h"

namespace talvera::ranges {

void openStatement(db::Query& query, const Statement& statement)
{
    query.setStatement(statement.sql, statement.params);
    query.open();
}

} // namespace talvera::ranges
