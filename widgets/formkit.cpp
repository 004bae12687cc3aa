#include "widgets/formkit.h"

#include "core/dataset.h"
#include "core/datasetmodel.h"
#include "widgets/datagrid.h"
#include "widgets/longoperation.h"
#include "widgets/lookupcombo.h"
#include "widgets/messages.h"
#include "widgets/numericedit.h"

#include <QCheckBox>
#include <QPushButton>

namespace talvera::widgets {

QCheckBox* filterBox(QWidget* parent, const char* name, const QString& text, const QList<QWidget*>& shows)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    for (QWidget* w : shows) {
        w->hide();
        QObject::connect(box, &QCheckBox::toggled, w, &QWidget::setVisible);
    }
    return box;
}

DataGrid* datasetGrid(QWidget* parent, db::Dataset& dataset, const QList<QPair<QString, QString>>& columns)
{
    QStringList fields;
    QList<GridColumn> gridColumns;
    for (int i = 0; i < columns.size(); ++i) {
        fields << columns[i].first;
        gridColumns << GridColumn(i, columns[i].second, dataset.field(columns[i].first).width);
    }
    auto* grid = new DataGrid(parent);
    grid->setObjectName(QStringLiteral("grNome"));
    grid->setModel(new db::DatasetModel(dataset, fields, grid));
    grid->setColumns(gridColumns);
    return grid;
}

LookupCombo* municipalityCombo(QWidget* parent, db::Dataset& municipalities, db::DatasetModel* model,
                               const char* name)
{
    auto* combo = new LookupCombo(model, 0, 1, parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setMinimumWidth(260);
    combo->onRowChosen = [&municipalities](int row) { municipalities.moveTo(row); };
    return combo;
}

NumericEdit* numericEdit(QWidget* parent, const char* name, const QString& format, double minimum, double maximum,
                         double value)
{
    auto* edit = new NumericEdit(format, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setRange(minimum, maximum);
    edit->setValue(value);
    edit->setMaximumWidth(80);
    return edit;
}

QPushButton* boldButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoDefault(false);
    return button;
}

void reportFailure(const QString& operation, const db::WriteResult& result)
{
    if (result.cancelled) {
        if (!programEndRequested())
            messages().information(result.error);
        return;
    }
    messages().error(QStringLiteral("Não foi possível %1:\n%2").arg(operation, result.error));
}

} // namespace talvera::widgets
