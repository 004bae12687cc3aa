#pragma once
// Pieces the forms build themselves from: filter check boxes, grids and
// municipality lists over the data module's datasets, numeric edits, and the
// report of a write that failed.

#include <QList>
#include <QPair>
#include <QString>

class QCheckBox;
class QPushButton;
class QWidget;

namespace talvera {
namespace db {
class Dataset;
class DatasetModel;
struct WriteResult;
} // namespace db
namespace widgets {
class DataGrid;
class LookupCombo;
class NumericEdit;
} // namespace widgets
} // namespace talvera

namespace talvera::widgets {

// A filter check box that shows its value controls only while ticked.
QCheckBox* filterBox(QWidget* parent, const char* name, const QString& text, const QList<QWidget*>& shows);
inline QCheckBox* filterBox(QWidget* parent, const char* name, const QString& text, QWidget* shows)
{
    return filterBox(parent, name, text, QList<QWidget*>{shows});
}

// A read-only grid "grNome" over the dataset showing the given (field, title)
// columns, each as wide as the field's width in characters.
DataGrid* datasetGrid(QWidget* parent, db::Dataset& dataset, const QList<QPair<QString, QString>>& columns);

// A combo over the municipality list (`model` over quMun: CODMUN, NOME) whose
// choice becomes the list's current row.
LookupCombo* municipalityCombo(QWidget* parent, db::Dataset& municipalities, db::DatasetModel* model,
                               const char* name);

// A numeric edit with its display format, range and first value.
NumericEdit* numericEdit(QWidget* parent, const char* name, const QString& format, double minimum, double maximum,
                         double value = 0);

// A bold button with the hand cursor that Enter does not press.
QPushButton* boldButton(QWidget* parent, const char* name, const QString& text);

// A write that did not happen: "Não foi possível <operation>" with the
// database's text in the error box, or the cancellation's own notice (none
// when the program is being ended).
void reportFailure(const QString& operation, const db::WriteResult& result);

} // namespace talvera::widgets
