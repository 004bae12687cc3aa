#pragma once
// Small pieces the range forms build themselves from.

#include "ranges/rangerules.h"
#include "widgets/formkit.h"

namespace talvera::ranges {

using widgets::datasetGrid;
using widgets::filterBox;
using widgets::municipalityCombo;
using widgets::numericEdit;
using db::openStatement;

} // namespace talvera::ranges
