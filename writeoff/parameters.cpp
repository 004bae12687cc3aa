#include "writeoff/parameters.h"

#include "core/datamodule.h"
#include "core/datasetmodel.h"
#include "widgets/enterfocus.h"
#include "widgets/formkit.h"
#include "widgets/guard.h"
#include "widgets/longoperation.h"
#include "widgets/lookupcombo.h"
#include "widgets/messages.h"
#include "widgets/numericedit.h"
#include "writeoff/writeoffrules.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace talvera::writeoff {

// ------------------------------------------------ the municipality's parameter

MunicipalityParameterForm::MunicipalityParameterForm(DataModule& dm, const char* name, const QString& caption,
                                                     QWidget* parent)
    : QDialog(parent), dm_(dm)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    db::Dataset& mun = dm.dataset(QStringLiteral("quMun"));
    cbMun = widgets::municipalityCombo(
        this, mun, new db::DatasetModel(mun, {QStringLiteral("CODMUN"), QStringLiteral("NOME")}, this), "cbMun");
    btPesq = widgets::boldButton(this, "btPesq", QStringLiteral("Atualizar"));
    auto* label3 = new QLabel(QStringLiteral("Município de Referência"), this);
    label3->setObjectName(QStringLiteral("Label3"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(label3, 0, 0);
    layout->addWidget(cbMun, 1, 0);
    layout->addWidget(btPesq, 1, 1);
    setFixedSize(460, 110);
    connect(btPesq, &QPushButton::clicked, this, widgets::guardedSlot([this] { btPesqClick(); }));
    widgets::installEnterMovesFocus(this);
}

void MunicipalityParameterForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        widgets::guarded([this] {
            db::Dataset& mun = dm_.dataset(QStringLiteral("quMun"));
            if (!mun.isOpen())
                mun.open();
        });
}

void MunicipalityParameterForm::btPesqClick()
{
    auto& messages = widgets::messages();
    const QString code = cbMun->key();
    if (code.isEmpty()) {
        messages.information(QStringLiteral("Selecione um município"));
        return;
    }
    const db::WriteResult written = write(code, cbMun->currentText());
    if (!written) {
        widgets::reportFailure(QStringLiteral("gerar o parâmetro municipal; nada foi alterado"), written);
        return;
    }
    messages.information(QStringLiteral("Geração Efetuada!"));
    close();
}

TfmGerparam::TfmGerparam(DataModule& dm, QWidget* parent)
    : MunicipalityParameterForm(dm, "fmGerparam", QStringLiteral("Gerar Parâmetro Municipal"), parent)
{
}

db::WriteResult TfmGerparam::write(const QString& code, const QString& name)
{
    return generateParameter(dm_, code, name);
}

TfmGerparvorq::TfmGerparvorq(DataModule& dm, QWidget* parent)
    : MunicipalityParameterForm(dm, "fmGerparvorq", QStringLiteral("Gerar Parâmetro Municipal para o VORQ"), parent)
{
}

db::WriteResult TfmGerparvorq::write(const QString& code, const QString& name)
{
    return generateVorqParameter(dm_, code, name);
}

// ------------------------------------------------------ the monthly clean-up

TfmLimpabase::TfmLimpabase(DataModule& dm, QWidget* parent) : QDialog(parent), dm_(dm)
{
    setObjectName(QStringLiteral("fmLimpabase"));
    setWindowTitle(QStringLiteral("Limpar Dados para Digitação"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    edMes = widgets::numericEdit(this, "edMes", QStringLiteral("00"), 0, 12);
    edAno = widgets::numericEdit(this, "edAno", QStringLiteral("0000"), 2007, 2016, 2016);
    btConfirma = widgets::boldButton(this, "btConfirma", QStringLiteral("Limpar"));
    auto* label2 = new QLabel(QStringLiteral("Mês/Ano de Competência"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(label2, 0, 0, 1, 3);
    auto* month = new QHBoxLayout;
    month->addWidget(edMes);
    month->addWidget(new QLabel(QStringLiteral("/"), this));
    month->addWidget(edAno);
    month->addStretch(1);
    layout->addLayout(month, 1, 0);
    layout->addWidget(btConfirma, 1, 1);
    layout->setRowStretch(2, 1);
    setTabOrder(edAno, edMes);
    setTabOrder(edMes, btConfirma);
    resize(360, 120);
    connect(btConfirma, &QPushButton::clicked, this, widgets::guardedSlot([this] { btConfirmaClick(); }));
    widgets::installEnterMovesFocus(this);
}

void TfmLimpabase::btConfirmaClick()
{
    auto& messages = widgets::messages();
    if (!messages.question(QStringLiteral("Confirma Limpeza de Dados?, TODOS OS DADOS DESSE MÊS SERÃO APAGADOS")))
        return;
    // The installation's municipality: the parameter database's first TABMUN row.
    db::Dataset& installation = dm_.dataset(QStringLiteral("tabelamun"));
    if (!installation.isOpen())
        installation.open();
    installation.first();
    CleanUp cleanUp;
    cleanUp.month = static_cast<int>(edMes->value());
    cleanUp.year = static_cast<int>(edAno->value());
    cleanUp.code = installation.asString(QStringLiteral("CODMUN"));
    cleanUp.name = installation.asString(QStringLiteral("NOME"));
    const db::WriteResult cleaned = cleanUpMonth(dm_, cleanUp);
    if (!cleaned) {
        widgets::reportFailure(QStringLiteral("limpar os dados do VORQ; nada foi alterado"), cleaned);
        return;
    }
    messages.information(QStringLiteral("Limpeza Efetuada, entre novamente no sistema!"));
    // The next start reads every database afresh.
    close();
    widgets::requestProgramEnd();
}

} // namespace talvera::writeoff
