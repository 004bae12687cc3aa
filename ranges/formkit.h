#pragma once
// Small pieces the range forms build themselves from.

#include "ranges/rangerules.h"

#include <QList>
#include <QPair>

class QCheckBox;
class QWidget;

namespace talvera {
namespace db {
class Dataset;
class DatasetModel;
} // namespace db
namespace widgets {
class DataGrid;
class LookupCombo;
class NumericEdit;
} // namespace widgets
} // namespace talvera

namespace talvera::ranges {

// A filter check box that shows its value control only while ticked.
QCheckBox* filterBox(QWidget* parent, const char* name, const QString& text, QWidget* shows);

// A read-only grid over the dataset showing the given (field, title) columns,
// each as wide as the field's width in characters.
widgets::DataGrid* datasetGrid(QWidget* parent, db::Dataset& dataset, const QList<QPair<QString, QString>>& columns);

// A combo over the municipality list (`model` over quMun: CODMUN, NOME) whose
// choice becomes the list's current row.
widgets::LookupCombo* municipalityCombo(QWidget* parent, db::Dataset& municipalities, db::DatasetModel* model,
                                        const char* name);

// A numeric edit with its display format, range and first value.
widgets::NumericEdit* numericEdit(QWidget* parent, const char* name, const QString& format, double minimum,
                                  double maximum, double value = 0);

// Puts the statement into the query and opens it.
void openStatement(db::Query& query, const Statement& statement);

} // namespace talvera::ranges
