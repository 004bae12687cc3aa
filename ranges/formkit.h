#pragma once
// Small pieces the range forms build themselves from.

#include "ranges/rangerules.h"
#include "widgets/formkit.h"

namespace talvera::ranges {

using widgets::datasetGrid;
using widgets::filterBox;
using widgets::municipalityCombo;
using widgets::numericEdit;

// Puts the statement into the query and opens it.
void openStatement(db::Query& query, const Statement& statement);

} // namespace talvera::ranges
