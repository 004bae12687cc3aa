#include "laudos/laudokit.h"

#include "core/dataset.h"
#include "core/datasetmodel.h"
#include "widgets/datagrid.h"
#include "widgets/lookupcombo.h"
#include "widgets/numericedit.h"

#include <QAbstractSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace talvera::laudos {

QPushButton* button(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

widgets::LookupCombo* lookupCombo(QWidget* parent, db::Dataset& list, const char* name, const QString& keyField,
                                  const QString& shownField)
{
    QStringList fields{keyField};
    if (shownField != keyField)
        fields << shownField;
    auto* model = new db::DatasetModel(list, fields, parent);
    auto* combo = new widgets::LookupCombo(model, 0, static_cast<int>(fields.size()) - 1, parent);
    combo->setObjectName(QString::fromLatin1(name));
    // The choice is the list's current row, as the labels beside it expect.
    combo->onRowChosen = [&list](int row) { list.moveTo(row); };
    return combo;
}

widgets::DataGrid* modelGrid(QWidget* parent, QAbstractItemModel* model, const QList<ShownColumn>& columns)
{
    QList<widgets::GridColumn> shown;
    for (const ShownColumn& c : columns)
        shown << widgets::GridColumn(c.column, c.title, c.width);
    auto* grid = new widgets::DataGrid(parent);
    grid->setObjectName(QStringLiteral("grNome"));
    grid->setModel(model);
    grid->setColumns(shown);
    return grid;
}

void setEditable(const QList<QWidget*>& controls, bool editable)
{
    for (QWidget* w : controls) {
        if (auto* line = qobject_cast<QLineEdit*>(w))
            line->setReadOnly(!editable);
        else if (auto* spin = qobject_cast<QAbstractSpinBox*>(w))
            spin->setReadOnly(!editable);
        else
            w->setEnabled(editable);
    }
}

} // namespace talvera::laudos
