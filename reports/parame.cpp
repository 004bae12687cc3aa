#include "reports/parame.h"

#include "core/datamodule.h"
#include "core/datasetmodel.h"
#include "reports/paramerules.h"
#include "reports/relato.h"
#include "widgets/formkit.h"
#include "widgets/enterfocus.h"
#include "widgets/guard.h"
#include "widgets/lookupcombo.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace talvera::reports {


TfmParame::TfmParame(DataModule& dm, TfmRelato& relato, QWidget* parent)
    : QDialog(parent), dm_(dm), relato_(relato)
{
    setObjectName(QStringLiteral("fmParame"));
    setWindowTitle(QStringLiteral("Parâmetros do relatório"));

    db::Dataset& municipalities = dm.dataset(QStringLiteral("quMun"));
    auto* model = new db::DatasetModel(municipalities, {QStringLiteral("CODMUN"), QStringLiteral("NOME")}, this);
    cbMun = new widgets::LookupCombo(model, 0, 1, this);
    cbMun->setObjectName(QStringLiteral("cbMun"));
    cbMun->setMinimumWidth(260);
    cbMun->onRowChosen = [&municipalities](int row) { municipalities.moveTo(row); };
    edMes = widgets::numericEdit(this, "edMes", QStringLiteral("00"), 0, 12, 0);
    edAno = widgets::numericEdit(this, "edAno", QStringLiteral("0000"), 2006, 2016, 2016);
    chMun = widgets::filterBox(this, "chMun", QStringLiteral("Município"), cbMun);
    chMes = widgets::filterBox(this, "chMes", QStringLiteral("Mês"), edMes);
    chAno = widgets::filterBox(this, "chAno", QStringLiteral("Ano"), edAno);
    btPesq = new QPushButton(QStringLiteral("Confirmar"), this);
    btPesq->setObjectName(QStringLiteral("btPesq"));
    QFont bold = btPesq->font();
    bold.setBold(true);
    btPesq->setFont(bold);
    btPesq->setCursor(Qt::PointingHandCursor);
    btPesq->setAutoDefault(false);
    rgMes = new widgets::RadioGroup(QStringLiteral("Opção"),
                                    {QStringLiteral("Mês de Processamento"), QStringLiteral("Mês de Competência")},
                                    this);
    rgMes->setObjectName(QStringLiteral("rgMes"));
    rgMes->setItemIndex(0);
    rgMes->hide();
    lbOpcao = new QLabel(this);
    lbOpcao->setObjectName(QStringLiteral("lbOpcao"));
    lbOpcao->hide();

    auto* layout = new QGridLayout(this);
    layout->addWidget(chMun, 0, 0);
    layout->addWidget(cbMun, 0, 1);
    layout->addWidget(chAno, 1, 0);
    layout->addWidget(edAno, 1, 1, Qt::AlignLeft);
    layout->addWidget(chMes, 2, 0);
    layout->addWidget(edMes, 2, 1, Qt::AlignLeft);
    layout->addWidget(rgMes, 3, 0, 1, 2);
    layout->addWidget(btPesq, 4, 1, Qt::AlignRight);
    layout->addWidget(lbOpcao, 5, 0);
    // Rows keep their place while their controls are hidden.
    for (int row = 0; row < 3; ++row)
        layout->setRowMinimumHeight(row, cbMun->sizeHint().height());
    layout->setColumnMinimumWidth(1, 280);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(cbMun, edMes);
    setTabOrder(edMes, chMun);
    setTabOrder(chMun, chMes);
    setTabOrder(chMes, chAno);
    setTabOrder(chAno, edAno);
    setTabOrder(edAno, btPesq);
    setTabOrder(btPesq, rgMes);
    widgets::installEnterMovesFocus(this);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connect(btPesq, &QPushButton::clicked, this, widgets::guardedSlot([this] { btPesqClick(); }));
}

void TfmParame::btPesqClick()
{
    const QString option = lbOpcao->text();
    ReportFilter filter;
    if (chMun->isChecked())
        filter.municipality = cbMun->key();
    if (chAno->isChecked())
        filter.year = edAno->value();
    if (chMes->isChecked())
        filter.month = edMes->value();
    filter.competence = rgMes->itemIndex() == 1;
    const auto statement = reportStatement(option, filter);
    Report* report = reportOf(relato_, option);
    if (!statement || !report)
        return;
    db::Dataset& dataset = dm_.dataset(statement->dataset);
    dataset.setStatement(statement->sql, statement->params);
    dataset.open();
    report->print();
}

} // namespace talvera::reports
