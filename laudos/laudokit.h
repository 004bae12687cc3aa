#pragma once
// Small pieces the laudo forms build themselves from.

#include "core/firebird.h"

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

// A numeric edit with its display format, range and first value.
widgets::NumericEdit* numericEdit(QWidget* parent, const char* name, const QString& format, double minimum,
                                  double maximum, double value = 0);

// A filter check box that shows its value controls only while ticked.
QCheckBox* filterBox(QWidget* parent, const char* name, const QString& text, const QList<QWidget*>& shows);

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

// Shows a failed write with the database's message.
void reportFailure(const QString& operation, const db::WriteResult& result);

} // namespace talvera::laudos
