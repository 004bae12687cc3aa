#include "laudos/lookups.h"

#include "core/datamodule.h"
#include "laudos/laudo.h"
#include "laudos/laudokit.h"
#include "laudos/laudorules.h"
#include "laudos/lookuplist.h"
#include "widgets/datagrid.h"
#include "widgets/guard.h"
#include "widgets/lookupcombo.h"
#include "widgets/maskededit.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace talvera::laudos {

namespace {

// Every letter typed shows in upper case.
class UpperCase : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

LookupDialog::LookupDialog(DataModule& dm, TfmLaudo& laudo, const char* name, const QString& caption,
                           const QString& dataset, const char* groupName, const QList<SearchBy>& searchBy,
                           const QList<Column>& columns, QWidget* parent)
    : QDialog(parent), dm_(dm), laudo_(laudo), datasetName_(dataset), searchBy_(searchBy),
      list_(new LookupList(this))
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    edPesquisar = new QLineEdit(this);
    edPesquisar->setObjectName(QStringLiteral("edPesquisar"));
    edPesquisar->setValidator(new UpperCase(edPesquisar));
    searchGroup = new QGroupBox(QStringLiteral(" Pesquisar por "), this);
    searchGroup->setObjectName(QString::fromLatin1(groupName));
    auto* choices = new QHBoxLayout(searchGroup);
    for (const SearchBy& s : searchBy) {
        auto* radio = new QRadioButton(s.text, searchGroup);
        radio->setObjectName(QString::fromLatin1(s.name));
        choices->addWidget(radio);
        searchButtons_ << radio;
        // Another column searches at once, as typing would.
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                widgets::guarded([this] { search(); });
        });
    }
    {
        const QSignalBlocker block(searchButtons_.first());
        searchButtons_.first()->setChecked(true);
    }
    btPesquisar = button(this, "btPesquisar", QStringLiteral("Pesquisar"));
    btPesquisar->setFlat(true);
    btPesquisar->setFocusPolicy(Qt::NoFocus);

    const db::Dataset& source = dm.dataset(dataset);
    QList<ShownColumn> shown;
    for (const Column& c : columns)
        shown << ShownColumn{source.fieldIndex(c.field), c.title, c.width};
    grNome = modelGrid(this, list_, shown);
    // As wide as its columns, within reason.
    int chars = 0;
    for (const Column& c : columns)
        chars += c.width + 2;
    const int digit = grNome->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    grNome->setMinimumSize(std::clamp(chars * digit + 40, 420, 960), 320);

    auto* top = new QHBoxLayout;
    auto* text = new QVBoxLayout;
    text->addWidget(new QLabel(QStringLiteral("Pesquisar"), this));
    text->addWidget(edPesquisar);
    top->addLayout(text, 1);
    top->addWidget(searchGroup);
    top->addWidget(btPesquisar, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grNome, 1);
    layout->addWidget(label(this, "lbTeclas", QStringLiteral("ENTER - Selecionar          ESC - Sair")));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(edPesquisar, &QLineEdit::textChanged, this, widgets::guardedSlot([this] { search(); }));
    connect(grNome, &widgets::DataGrid::doubleClicked, this, widgets::guardedSlot([this] { choose(); }));
    for (QWidget* w : std::initializer_list<QWidget*>{edPesquisar, grNome})
        w->installEventFilter(this);
    for (QRadioButton* radio : searchButtons_)
        radio->installEventFilter(this);
}

void LookupDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        widgets::guarded([this] { formShow(); });
        edPesquisar->setFocus();
    }
}

bool LookupDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        widgets::guarded([this] { choose(); });
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // From the search text the arrows move through the list.
        if (watched == edPesquisar) {
            QApplication::sendEvent(grNome, event);
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

int LookupDialog::chosenField() const
{
    for (int i = 0; i < searchButtons_.size(); ++i) {
        if (searchButtons_[i]->isChecked())
            return list_->fieldIndex(searchBy_[i].field);
    }
    return -1;
}

void LookupDialog::formShow()
{
    if (firstColumnOnShow_) {
        const QSignalBlocker block(searchButtons_.first());
        searchButtons_.first()->setChecked(true);
    }
    db::Dataset& source = dm_.dataset(datasetName_);
    source.close();
    source.restoreDefaultSql();
    list_->load(source);
    listAll(list_->fieldIndex(searchBy_.first().field));
}

void LookupDialog::search()
{
    const QString text = edPesquisar->text();
    if (text.trimmed().isEmpty())
        list_->showAll();
    else
        list_->search(chosenField(), text.toUpper());
}

void LookupDialog::choose()
{
    if (list_->size() == 0)
        return;
    const int row = std::max(grNome->currentRow(), 0);
    apply(row);
    accept();
}

void LookupDialog::listAll(int field)
{
    list_->showAll(field);
}

QString LookupDialog::value(int row, const QString& field) const
{
    return list_->value(row, field);
}

// ---------------------------------------------------------------- providers

TfmConprest::TfmConprest(DataModule& dm, TfmLaudo& laudo, QWidget* parent)
    : LookupDialog(dm, laudo, "fmConprest", QStringLiteral("Consulta de Prestador"), QStringLiteral("quPesqprest"),
                   "grPesq",
                   {{"rdbCnes", QStringLiteral("CNES"), QStringLiteral("CNES")},
                    {"rdbFantasia", QStringLiteral("Nome de Fantasia"), QStringLiteral("NOME_FANTA")},
                    {"rdbCnpj", QStringLiteral("CNPJ"), QStringLiteral("CNPJ")}},
                   {{QStringLiteral("CNES"), QStringLiteral("CNES"), 8},
                    {QStringLiteral("CNPJ"), QStringLiteral("CNPJ"), 16},
                    {QStringLiteral("NOME_FANTA"), QStringLiteral("NOME_FANTA"), 72}},
                   parent),
      rdbCnes(searchButton(0)), rdbFantasia(searchButton(1)), rdbCnpj(searchButton(2))
{
}

void TfmConprest::apply(int row)
{
    laudo_.cbPrest->setKey(value(row, QStringLiteral("CNES")));
    if (laudo_.cbPrest->key().isEmpty())
        return;
    laudo_.lbPrest->setText(value(row, QStringLiteral("NOME_FANTA")));
    // The municipality of admission is the one that manages the provider.
    const auto municipality = managingMunicipality(dm_, value(row, QStringLiteral("CODMUNGEST")));
    laudo_.edCodmunintern->setText(municipality ? municipality->code : QString());
    laudo_.edMunintern->setText(municipality ? municipality->name : QString());
}

// ------------------------------------------------------------ by code or description

CodeLookup::CodeLookup(DataModule& dm, TfmLaudo& laudo, const char* name, const QString& caption,
                       const QString& dataset, const char* groupName, const QList<SearchBy>& searchBy,
                       const QList<Column>& columns, const Target& target, QWidget* parent)
    : LookupDialog(dm, laudo, name, caption, dataset, groupName, searchBy, columns, parent),
      rdbCod(searchButton(0)), rdbDesc(searchButton(1)), target_(target)
{
}

void CodeLookup::apply(int row)
{
    target_.combo->setKey(value(row, target_.codeField));
    target_.label->setText(target_.combo->key().isEmpty() ? QString() : value(row, target_.descriptionField));
}

// --------------------------------------------------------------- characters

TfmConcara::TfmConcara(DataModule& dm, TfmLaudo& laudo, QWidget* parent)
    : CodeLookup(dm, laudo, "fmConcara", QStringLiteral("Consulta de Caráter de Internação"),
                   QStringLiteral("quPesqcara"), "grPesq",
                   {{"rdbCod", QStringLiteral("Código"), QStringLiteral("CODCARATER")},
                    {"rdbDesc", QStringLiteral("Descrição"), QStringLiteral("DESCRICAO")}},
                   {{QStringLiteral("CODCARATER"), QStringLiteral("Código"), 5},
                    {QStringLiteral("DESCRICAO"), QStringLiteral("Descrição"), 68}},
                   {laudo.cbCarater, laudo.lbCarater, QStringLiteral("CODCARATER"), QStringLiteral("DESCRICAO")},
                   parent)
{
}


// -------------------------------------------------------------- specialties

TfmConespec::TfmConespec(DataModule& dm, TfmLaudo& laudo, QWidget* parent)
    : CodeLookup(dm, laudo, "fmConespec", QStringLiteral("Consulta de Especialidade"),
                   QStringLiteral("quPesqespec"), "grPesq",
                   {{"rdbCod", QStringLiteral("Código"), QStringLiteral("CODESP")},
                    {"rdbDesc", QStringLiteral("Descrição"), QStringLiteral("DESCRICAO")}},
                   {{QStringLiteral("CODESP"), QStringLiteral("Código"), 10},
                    {QStringLiteral("DESCRICAO"), QStringLiteral("Descrição"), 60}},
                   {laudo.cbEspec, laudo.lbEspec, QStringLiteral("CODESP"), QStringLiteral("DESCRICAO")}, parent)
{
}


// --------------------------------------------------------------- procedures

TfmConproced::TfmConproced(DataModule& dm, TfmLaudo& laudo, QWidget* parent)
    : CodeLookup(dm, laudo, "fmConproced", QStringLiteral("Consulta de Procedimentos"),
                   QStringLiteral("quPesqproced"), "grProc",
                   {{"rdbCod", QStringLiteral("Código"), QStringLiteral("CODPROC")},
                    {"rdbDesc", QStringLiteral("Descrição"), QStringLiteral("NOME")}},
                   {{QStringLiteral("CODPROC"), QStringLiteral("Código"), 10},
                    // The name holds 250 characters; 80 of them fit beside the values.
                    {QStringLiteral("NOME"), QStringLiteral("Descrição"), 80},
                    {QStringLiteral("VLR_SH"), QStringLiteral("VLR_SH"), 10},
                    {QStringLiteral("VLR_SP"), QStringLiteral("VLR_SP"), 10}},
                   {laudo.cbProced, laudo.lbProced, QStringLiteral("CODPROC"), QStringLiteral("NOME")}, parent),
      grProc(searchGroup)
{
    firstColumnOnShow_ = true;
    grProc->installEventFilter(this);
}

bool TfmConproced::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grProc && event->type() == QEvent::MouseButtonDblClick) {
        widgets::guarded([this] { grProcDblClick(); });
        return true;
    }
    return CodeLookup::eventFilter(watched, event);
}

void TfmConproced::grProcDblClick()
{
    // The whole list again, by code or by name, whatever the search text.
    listAll(chosenField());
}


// ------------------------------------------------------------ professionals

TfmConprof::TfmConprof(DataModule& dm, TfmLaudo& laudo, QWidget* parent)
    : CodeLookup(dm, laudo, "fmConprof", QStringLiteral("Consulta de Profissionais"), QStringLiteral("quPesqprof"),
                   "grPesq",
                   {{"rdbCod", QStringLiteral("CPF"), QStringLiteral("CPF_PROF")},
                    {"rdbDesc", QStringLiteral("Nome"), QStringLiteral("NOME_PROF")}},
                   {{QStringLiteral("CPF_PROF"), QStringLiteral("CPF"), 11},
                    {QStringLiteral("NOME_PROF"), QStringLiteral("Nome"), 60}},
                   {}, parent),
      lbProf(label(this, "lbProf"))
{
    lbProf->hide();
}

void TfmConprof::apply(int row)
{
    const QString target = lbProf->text();
    widgets::MaskedEdit* cpf = nullptr;
    QLabel* name = nullptr;
    if (target == QLatin1String("1")) {
        cpf = laudo_.edCpfsolicita;
        name = laudo_.lbCpfsolicita;
    } else if (target == QLatin1String("2")) {
        cpf = laudo_.edCpfautoriza;
        name = laudo_.lbCpfautoriza;
    } else {
        return;
    }
    cpf->setDigits(value(row, QStringLiteral("CPF_PROF")));
    name->setText(value(row, QStringLiteral("NOME_PROF")));
}

} // namespace talvera::laudos
