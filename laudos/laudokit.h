#pragma once
// Small pieces the laudo forms build themselves from.

#include "core/firebird.h"
#include "widgets/formkit.h"

#include <QList>
#include <QString>
#include <QStringList>

class QAbstractItemModel;
class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

namespace talvera {
namespace db {
class Dataset;
}
namespace widgets {
class DataGrid;
class LookupCombo;
class NumericEdit;
} // namespace widgets
} // namespace talvera

namespace talvera::laudos {

QPushButton* button(QWidget* parent, const char* name, const QString& text);
QLabel* label(QWidget* parent, const char* name, const QString& text = {});

// Numeric edits, filter boxes and the report of a failed write are the
// widgets' own (widgets/formkit.h).
using widgets::filterBox;
using widgets::numericEdit;
using widgets::reportFailure;

// A combo over a list dataset, keyed by one field and showing another.
widgets::LookupCombo* lookupCombo(QWidget* parent, db::Dataset& list, const char* name, const QString& keyField,
                                  const QString& shownField);

// A grid over a model, showing its columns with their titles and widths.
struct ShownColumn {
    int column;
    QString title;
    int width;
};
widgets::DataGrid* modelGrid(QWidget* parent, QAbstractItemModel* model, const QList<ShownColumn>& columns);

// Read-only edits and spin boxes, or disabled combos.
void setEditable(const QList<QWidget*>& controls, bool editable);

} // namespace talvera::laudos
