#include "laudos/laudo.h"

#include "core/datamodule.h"
#include "core/datasetmodel.h"
#include "laudos/laudokit.h"
#include "laudos/lookups.h"
#include "reports/relato.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/digitsedit.h"
#include "widgets/enterfocus.h"
#include "widgets/guard.h"
#include "widgets/lookupcombo.h"
#include "widgets/maskededit.h"
#include "widgets/messages.h"
#include "widgets/numericedit.h"
#include "widgets/radiogroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace talvera::laudos {

namespace {

QToolButton* dots(QWidget* parent, const char* name)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(QStringLiteral("..."));
    // Like a speed button it takes no focus, so the field beside it is not left.
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

widgets::DigitsEdit* wholeNumber(QWidget* parent, const char* name, int digits)
{
    auto* edit = new widgets::DigitsEdit(digits, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setText(QStringLiteral("0"));
    edit->setMaximumWidth(70);
    return edit;
}

widgets::MaskedEdit* masked(QWidget* parent, const char* name, const QString& picture)
{
    auto* edit = new widgets::MaskedEdit(picture, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaximumWidth(160);
    return edit;
}

// A stored whole number as the digits an edit shows; null shows nothing.
QString digitsOf(const QVariant& stored, int width = 0)
{
    if (!stored.isValid() || stored.isNull())
        return {};
    QString text = QString::number(stored.toLongLong()).trimmed();
    return width > 0 ? text.rightJustified(width, QLatin1Char('0')) : text;
}

// Currency with four decimals, as the procedure's two parts are added.
double currency(double value)
{
    return std::round(value * 10000.0) / 10000.0;
}

} // namespace

TfmLaudo::TfmLaudo(DataModule& dm, reports::TfmRelato& relato, QWidget* parent)
    : QDialog(parent), dm_(dm), relato_(relato)
{
    setObjectName(QStringLiteral("fmLaudo"));
    setWindowTitle(QStringLiteral("Cadastro de Laudos"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    showModal = [](QDialog* dialog) { dialog->exec(); };

    db::Dataset& prest = dm.dataset(QStringLiteral("quPrest"));
    btInclui = button(this, "btInclui", QStringLiteral("Incluir"));
    edFolha = wholeNumber(this, "edFolha", 5);
    edSeq = wholeNumber(this, "edSeq", 2);
    edMes = numericEdit(this, "edMes", QStringLiteral("00"), 0, 12);
    edAno = numericEdit(this, "edAno", QStringLiteral("0000"), 2007, 2016, 2016);
    cbPrest = lookupCombo(this, prest, "cbPrest", QStringLiteral("CNES"), QStringLiteral("CNES"));
    spPrest = dots(this, "spPrest");
    lbPrest = label(this, "lbPrest");
    edAih = masked(this, "edAih", widgets::MaskedEdit::aihPicture);
    edDv = numericEdit(this, "edDv", QStringLiteral("0"), 0, 9);
    edDv->setZeroShown(true);
    edDv->setMaximumWidth(40);
    edMeslib = numericEdit(this, "edMeslib", QStringLiteral("00"), 0, 12);
    edAnolib = numericEdit(this, "edAnolib", QStringLiteral("0000"), 0, 9999);
    edPaciente = new QLineEdit(this);
    edPaciente->setObjectName(QStringLiteral("edPaciente"));
    edPaciente->setMaxLength(40);
    edDatanasc = new widgets::DateEdit(this);
    edDatanasc->setObjectName(QStringLiteral("edDatanasc"));
    rgSexo = new widgets::RadioGroup(QStringLiteral("Sexo"), {QStringLiteral("Masculino"), QStringLiteral("Feminino")},
                                     this);
    rgSexo->setObjectName(QStringLiteral("rgSexo"));
    cbCarater = lookupCombo(this, dm.dataset(QStringLiteral("quCarater")), "cbCarater", QStringLiteral("CODCARATER"),
                            QStringLiteral("CODCARATER"));
    SpeedButton2 = dots(this, "SpeedButton2");
    lbCarater = label(this, "lbCarater");
    cbEspec = lookupCombo(this, dm.dataset(QStringLiteral("quEspec")), "cbEspec", QStringLiteral("CODESP"),
                          QStringLiteral("CODESP"));
    SpeedButton3 = dots(this, "SpeedButton3");
    lbEspec = label(this, "lbEspec");
    cbProced = lookupCombo(this, dm.dataset(QStringLiteral("quProced")), "cbProced", QStringLiteral("CODPROC"),
                           QStringLiteral("CODPROC"));
    SpeedButton4 = dots(this, "SpeedButton4");
    lbProced = label(this, "lbProced");
    edCpfsolicita = masked(this, "edCpfsolicita", widgets::MaskedEdit::cpfPicture);
    edCpfsolicita->setDigits(QStringLiteral("00000000000"));
    SpeedButton5 = dots(this, "SpeedButton5");
    lbCpfsolicita = label(this, "lbCpfsolicita");
    edCpfautoriza = masked(this, "edCpfautoriza", widgets::MaskedEdit::cpfPicture);
    edCpfautoriza->setDigits(QStringLiteral("00000000000"));
    SpeedButton6 = dots(this, "SpeedButton6");
    lbCpfautoriza = label(this, "lbCpfautoriza");
    edObserv = new QLineEdit(this);
    edObserv->setObjectName(QStringLiteral("edObserv"));
    edObserv->setMaxLength(50); // the column's width
    edMunintern = new QLineEdit(this);
    edMunintern->setObjectName(QStringLiteral("edMunintern"));
    edCodmunintern = new QLineEdit(this);
    edCodmunintern->setObjectName(QStringLiteral("edCodmunintern"));
    edCodmunintern->hide();
    edValormedio = numericEdit(this, "edValormedio", QStringLiteral("0.00"), 0, 9999999999.99);
    edValormedio->setMaximumWidth(130);
    btConfirma = button(this, "btConfirma", QStringLiteral("Gravar"));
    btCancela = button(this, "btCancela", QStringLiteral("Retornar"));
    btExclui = button(this, "btExclui", QStringLiteral("Excluir"));
    btAltera = button(this, "btAltera", QStringLiteral("Alterar"));
    btImprime = button(this, "btImprime", QStringLiteral("Imprimir"));
    btFecha = button(this, "btFecha", QStringLiteral("Sair"));
    cbMun = lookupCombo(this, dm.dataset(QStringLiteral("quMun")), "cbMun", QStringLiteral("CODMUN"),
                        QStringLiteral("NOME"));
    cbMun->setMinimumWidth(200);
    lbOpcao = label(this, "lbOpcao");
    lbOpcao->hide();
    lbCons = label(this, "lbCons");
    lbCons->hide();
    btConfirma->hide();
    btCancela->hide();
    btExclui->setEnabled(false);
    btAltera->setEnabled(false);
    setEditable({edAih, cbPrest, edMes, edDv, edAno, edAnolib, edMeslib, cbCarater, cbEspec, cbProced, edMunintern,
                 edCodmunintern},
                false);

    // The grid and its filter.
    db::Dataset& laudos = dm.dataset(QStringLiteral("quLaudo"));
    const QList<QPair<QString, QString>> columns = {
        {"CNES", "CNES"},
        {"PACIENTE", "Paciente"},
        {"PROCEDIMENTO", "Proced"},
        {"MESCOMP", "Mês Comp"},
        {"ANOCOMP", "Ano Comp"},
        {"MESLIBE", "Mês Lib"},
        {"ANOLIBE", "Ano Lib"},
        {"NUMAIH", "AIH"},
        {"DVAIH", "DV"},
        {"CARATERINT", "Caráter Intern"},
        {"CPFAUTORIZA", "CPF Autoriza"},
        {"CPFSOLICITA", "CPF Solicita"},
        {"DATANASC", "Data Nasc"},
        {"ESPECIALIDADE", "Especialidade"},
        {"FOLHA", "Folha"},
        {"SEQUENCIA", "Seq"},
        {"MUNINTERN", "Munic Intern"},
        {"MUNORIG", "Munic Origem"},
        {"OBSERV", "Observ"},
        {"SEXO", "Sexo"},
        {"VALORMEDIO", "Valor Médio"},
    };
    QStringList fields;
    QList<ShownColumn> shown;
    for (int i = 0; i < columns.size(); ++i) {
        fields << columns[i].first;
        shown << ShownColumn{i, columns[i].second, laudos.field(columns[i].first).width};
    }
    grNome = modelGrid(this, new db::DatasetModel(laudos, fields, this), shown);
    pqPrest = lookupCombo(this, prest, "pqPrest", QStringLiteral("CNES"), QStringLiteral("CNES"));
    pqAih = masked(this, "pqAih", widgets::MaskedEdit::aihPicture);
    pqDv = numericEdit(this, "pqDv", QStringLiteral("0"), 0, 9);
    pqDv->setZeroShown(true);
    pqDv->setMaximumWidth(40);
    pqMes = numericEdit(this, "pqMes", QStringLiteral("00"), 0, 12);
    pqAno = numericEdit(this, "pqAno", QStringLiteral("0000"), 2007, 2016, 2016);
    pqFolha = numericEdit(this, "pqFolha", QStringLiteral("000"), 0, 999);
    chPrest = filterBox(this, "chPrest", QStringLiteral("Prestador"), {pqPrest});
    chAih = filterBox(this, "chAih", QStringLiteral("AIH"), {pqAih, pqDv});
    chAno = filterBox(this, "chAno", QStringLiteral("Mês/Ano"), {pqMes, pqAno});
    chFolha = filterBox(this, "chFolha", QStringLiteral("Folha"), {pqFolha});
    rgPesq = new widgets::RadioGroup(QStringLiteral("Ordenação"), filterOrders(), this);
    rgPesq->setObjectName(QStringLiteral("rgPesq"));
    rgPesq->setColumns(2);
    btPesq = button(this, "btPesq", QStringLiteral("Filtrar"));

    buildLayout();
    connectHandlers();
    widgets::installEnterMovesFocus(this);
}

void TfmLaudo::buildLayout()
{
    // One line per caption: controls, and captions of their own between them.
    struct Piece {
        Piece(QWidget* w) : widget(w) {}
        Piece(const char* text) : caption(QString::fromUtf8(text)) {}
        QWidget* widget = nullptr;
        QString caption;
    };
    auto* entry = new QGridLayout;
    int row = 0;
    auto line = [&](const char* caption, std::initializer_list<Piece> pieces) {
        entry->addWidget(new QLabel(QString::fromUtf8(caption), this), row, 0);
        auto* box = new QHBoxLayout;
        for (const Piece& piece : pieces) {
            if (piece.widget) {
                box->addWidget(piece.widget);
                continue;
            }
            if (piece.caption.size() > 1)
                box->addSpacing(16);
            box->addWidget(new QLabel(piece.caption, this));
        }
        box->addStretch(1);
        entry->addLayout(box, row++, 1);
    };
    for (QWidget* w : std::initializer_list<QWidget*>{cbPrest, cbCarater, cbEspec, cbProced})
        w->setMinimumWidth(110);
    // Room for the names, so the form keeps its size as they change.
    for (QLabel* name : {lbPrest, lbCarater, lbEspec, lbProced, lbCpfsolicita, lbCpfautoriza})
        name->setMinimumWidth(300);
    edDatanasc->setMinimumWidth(120);
    edPaciente->setMinimumWidth(320);
    edObserv->setMinimumWidth(360);
    edMunintern->setMinimumWidth(160);
    rgSexo->setColumns(2);
    line("Folha", {edFolha, "Sequência", edSeq, "Mês/Ano competência", edMes, "/", edAno});
    line("CNES Prestador", {cbPrest, spPrest, lbPrest});
    line("AIH", {edAih, "-", edDv, "Mês/Ano liberação", edMeslib, "/", edAnolib});
    line("Nome do Paciente", {edPaciente, "Data Nascimento", edDatanasc, rgSexo});
    line("Caráter de Internação", {cbCarater, SpeedButton2, lbCarater});
    line("Especialidade", {cbEspec, SpeedButton3, lbEspec});
    line("Procedimento", {cbProced, SpeedButton4, lbProced});
    line("CPF Médico Solicitante", {edCpfsolicita, SpeedButton5, lbCpfsolicita});
    line("CPF Médico Autorizador", {edCpfautoriza, SpeedButton6, lbCpfautoriza});
    line("Observação", {edObserv});
    line("Município de Origem",
         {cbMun, "Município de Internação", edMunintern, edCodmunintern, "Valor Médio", edValormedio});

    auto* search = new QGroupBox(QStringLiteral("Pesquisa"), this);
    search->setObjectName(QStringLiteral("gbPesquisa"));
    for (QWidget* w : std::initializer_list<QWidget*>{chPrest, pqPrest, chAih, pqAih, pqDv, chAno, pqMes, pqAno,
                                                      chFolha, pqFolha, rgPesq, btPesq})
        w->setParent(search);
    pqPrest->setMinimumWidth(100);
    auto* searchLayout = new QGridLayout(search);
    auto pair = [](QWidget* a, QWidget* b) {
        auto* box = new QHBoxLayout;
        box->addWidget(a);
        if (b)
            box->addWidget(b);
        box->addStretch(1);
        return box;
    };
    searchLayout->addWidget(chPrest, 0, 0);
    searchLayout->addLayout(pair(pqPrest, nullptr), 0, 1);
    searchLayout->addWidget(chAih, 1, 0);
    searchLayout->addLayout(pair(pqAih, pqDv), 1, 1);
    searchLayout->addWidget(chAno, 2, 0);
    searchLayout->addLayout(pair(pqMes, pqAno), 2, 1);
    searchLayout->addWidget(chFolha, 3, 0);
    searchLayout->addLayout(pair(pqFolha, nullptr), 3, 1);
    searchLayout->addWidget(rgPesq, 4, 0, 1, 2);
    searchLayout->addWidget(btPesq, 5, 1, Qt::AlignRight);
    searchLayout->setRowStretch(6, 1);
    search->setMinimumWidth(260);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btInclui, btConfirma, btCancela, btExclui, btAltera, btImprime})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(btFecha);

    auto* top = new QHBoxLayout;
    top->addLayout(entry, 1);
    top->addWidget(search);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    grNome->setMinimumSize(900, 230);
    layout->addWidget(grNome, 1);
    layout->addWidget(lbOpcao);
    layout->addWidget(lbCons);
    // A fixed border: the form keeps the size its controls need.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget* order[] = {btInclui, edFolha,  edSeq,         edMes,         edAno,        cbPrest,    edAih,
                        edDv,     edMeslib, edAnolib,      edPaciente,    edDatanasc,   rgSexo,     cbCarater,
                        cbEspec,  cbProced, edCpfsolicita, edCpfautoriza, edObserv,     edMunintern, edValormedio,
                        btConfirma, btCancela, btExclui,   btAltera,      btImprime,    btFecha,    cbMun};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfmLaudo::connectHandlers()
{
    auto click = [this](QAbstractButton* b, void (TfmLaudo::*handler)()) {
        connect(b, &QAbstractButton::clicked, this, widgets::guardedSlot([this, handler] { (this->*handler)(); }));
    };
    click(btInclui, &TfmLaudo::btIncluiClick);
    click(btCancela, &TfmLaudo::btCancelaClick);
    click(btConfirma, &TfmLaudo::btConfirmaClick);
    click(btAltera, &TfmLaudo::btAlteraClick);
    click(btExclui, &TfmLaudo::btExcluiClick);
    click(btImprime, &TfmLaudo::btImprimeClick);
    click(btPesq, &TfmLaudo::btPesqClick);
    connect(btFecha, &QPushButton::clicked, this, &QDialog::close);
    connect(grNome, &widgets::DataGrid::doubleClicked, this, widgets::guardedSlot([this] { grNomeDblClick(); }));
    connect(spPrest, &QToolButton::clicked, this, widgets::guardedSlot([this] { openLookup(providers_); }));
    connect(SpeedButton2, &QToolButton::clicked, this, widgets::guardedSlot([this] { openLookup(characters_); }));
    connect(SpeedButton3, &QToolButton::clicked, this, widgets::guardedSlot([this] { openLookup(specialties_); }));
    connect(SpeedButton4, &QToolButton::clicked, this, widgets::guardedSlot([this] { openLookup(procedures_); }));
    auto professional = [this](const char* target) {
        if (!professionals_)
            return;
        professionals_->lbProf->setText(QString::fromLatin1(target));
        openLookup(professionals_);
    };
    connect(SpeedButton5, &QToolButton::clicked, this, widgets::guardedSlot([professional] { professional("1"); }));
    connect(SpeedButton6, &QToolButton::clicked, this, widgets::guardedSlot([professional] { professional("2"); }));
    for (QWidget* w : std::initializer_list<QWidget*>{edAno, cbPrest, cbCarater, cbEspec, cbProced, edDv, edDatanasc,
                                                      edCpfsolicita, edCpfautoriza, pqDv})
        w->installEventFilter(this);
}

void TfmLaudo::setLookupDialogs(QDialog* providers, QDialog* characters, QDialog* specialties, QDialog* procedures,
                                TfmConprof* professionals)
{
    providers_ = providers;
    characters_ = characters;
    specialties_ = specialties;
    procedures_ = procedures;
    professionals_ = professionals;
}

void TfmLaudo::openLookup(QDialog* dialog)
{
    if (dialog)
        showModal(dialog);
}

void TfmLaudo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        widgets::guarded([this] { formShow(); });
}

bool TfmLaudo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // Leaving a field for another control of the form; a window that
        // opens over the form (a message, a calendar) leaves nothing.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            const std::pair<QObject*, void (TfmLaudo::*)()> exits[] = {
                {edAno, &TfmLaudo::edAnoExit},           {cbPrest, &TfmLaudo::cbPrestExit},
                {cbCarater, &TfmLaudo::cbCaraterExit},   {cbEspec, &TfmLaudo::cbEspecExit},
                {cbProced, &TfmLaudo::cbProcedExit},     {edDv, &TfmLaudo::edDvExit},
                {edDatanasc, &TfmLaudo::edDatanascExit}, {edCpfsolicita, &TfmLaudo::edCpfsolicitaExit},
                {edCpfautoriza, &TfmLaudo::edCpfautorizaExit}, {pqDv, &TfmLaudo::pqDvExit},
            };
            for (const auto& [control, handler] : exits) {
                if (watched == control) {
                    widgets::guarded([this, handler = handler] { (this->*handler)(); });
                    break;
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

Mode TfmLaudo::mode() const
{
    const QString marker = lbOpcao->text();
    return marker == QLatin1String("I") ? Mode::Insert : marker == QLatin1String("A") ? Mode::Change : Mode::None;
}

void TfmLaudo::setMode(Mode mode)
{
    lbOpcao->setText(mode == Mode::Insert ? QStringLiteral("I") : mode == Mode::Change ? QStringLiteral("A") : QString());
}

QList<QWidget*> TfmLaudo::laudoFields() const
{
    return {edAih,      edDv,      edMeslib, edAnolib,      edPaciente,    edDatanasc,
            cbCarater,  cbEspec,   cbProced, edCpfsolicita, edCpfautoriza, edObserv,
            edValormedio};
}

QString TfmLaudo::listValue(const QString& dataset, const QString& keyField, const QString& key,
                            const QString& field) const
{
    if (key.isEmpty())
        return {};
    return dm_.dataset(dataset).lookup(keyField, key, field).toString();
}

Laudo TfmLaudo::entries() const
{
    Laudo l;
    l.key = {edFolha->text().toInt(), edSeq->text().toInt(), static_cast<int>(edMes->value()),
             static_cast<int>(edAno->value())};
    l.cnes = cbPrest->key();
    l.aih = edAih->digits();
    l.dv = static_cast<int>(edDv->value());
    l.mesLib = static_cast<int>(edMeslib->value());
    l.anoLib = static_cast<int>(edAnolib->value());
    l.paciente = edPaciente->text();
    l.nascimento = edDatanasc->date();
    l.sexo = rgSexo->itemIndex();
    l.carater = cbCarater->key();
    l.especialidade = cbEspec->key();
    l.procedimento = cbProced->key();
    l.cpfSolicita = edCpfsolicita->digits();
    l.cpfAutoriza = edCpfautoriza->digits();
    l.munOrig = cbMun->key();
    l.observ = edObserv->text();
    l.munIntern = edCodmunintern->text();
    l.valorMedio = edValormedio->value();
    return l;
}

void TfmLaudo::formShow()
{
    if (const auto competence = storedCompetence(dm_)) {
        edMes->setValue(competence->mes);
        edAno->setValue(competence->ano);
    }
    db::Dataset& own = dm_.dataset(QStringLiteral("tabelamun"));
    own.close();
    own.open();
    own.first();
    if (!own.eof())
        cbMun->setKey(own.asString(QStringLiteral("CODMUN")));
    for (const char* list : {"quPrest", "quEspec", "quCarater", "quProced"}) {
        db::Dataset& ds = dm_.dataset(QString::fromLatin1(list));
        if (!ds.isOpen())
            ds.open();
    }
    btCancelaClick();
}

void TfmLaudo::btCancelaClick()
{
    spPrest->setEnabled(true);
    setEditable({edMes, edAno, cbPrest}, false);
    edFolha->setText(QStringLiteral("0"));
    edSeq->setText(QStringLiteral("0"));
    cbPrest->setKey({});
    edAih->setDigits({});
    edDv->setValue(0);
    for (QLineEdit* e : {edPaciente, edObserv, edCodmunintern, edMunintern})
        e->clear();
    edDatanasc->setDate(QDate());
    rgSexo->setItemIndex(-1);
    for (widgets::LookupCombo* c : {cbCarater, cbEspec, cbProced})
        c->setKey({});
    edCpfsolicita->setDigits({});
    edCpfautoriza->setDigits({});
    edValormedio->setValue(0);
    for (QLabel* l : {lbPrest, lbCarater, lbEspec, lbProced, lbCpfsolicita, lbCpfautoriza})
        l->clear();
    edMeslib->setValue(edMes->value());
    edAnolib->setValue(edAno->value());
    btExclui->setEnabled(false);
    btAltera->setEnabled(false);
    btInclui->setEnabled(true);
    btConfirma->hide();
    btCancela->hide();
    btInclui->setFocus();
}

void TfmLaudo::showEntryButtons()
{
    btExclui->setEnabled(false);
    btAltera->setEnabled(false);
    btInclui->setEnabled(false);
    btConfirma->show();
    btCancela->show();
}

void TfmLaudo::btIncluiClick()
{
    btCancelaClick();
    spPrest->setEnabled(true);
    // The sequence is proposed on leaving the year, and may be typed too.
    setEditable(laudoFields() << edFolha << edSeq << edMes << edAno << cbPrest, true);
    setMode(Mode::Insert);
    showEntryButtons();
    edFolha->setFocus();
}

void TfmLaudo::btAlteraClick()
{
    setMode(Mode::Change);
    showEntryButtons();
    setEditable({edFolha, edSeq, edMes, edAno, cbPrest}, false);
    spPrest->setEnabled(false);
    // Everything the update writes can be changed, whatever came before.
    setEditable(laudoFields(), true);
    edAih->setFocus();
}

void TfmLaudo::btConfirmaClick()
{
    const Mode current = mode();
    const Laudo laudo = entries();
    const SaveCheck check =
        checkSave(dm_, laudo, current, [](const QString& question) { return widgets::messages().question(question); });
    if (!check.passed) {
        if (!check.message.isEmpty())
            widgets::messages().information(check.message);
        return;
    }
    const db::WriteResult written = saveLaudo(dm_, laudo, current);
    if (!written) {
        // The entries stay for another try.
        reportFailure(current == Mode::Insert ? QStringLiteral("gravar o laudo") : QStringLiteral("alterar o laudo"),
                      written);
        return;
    }
    if (current == Mode::Change)
        btPesqClick();
    btCancelaClick();
    grNome->viewport()->update();
}

void TfmLaudo::btExcluiClick()
{
    if (!widgets::messages().question(QStringLiteral("CONFIRMA EXCLUSÃO?")))
        return;
    const Laudo laudo = entries();
    const db::WriteResult deleted = deleteLaudo(dm_, laudo.key);
    if (!deleted) {
        reportFailure(QStringLiteral("excluir o laudo"), deleted);
        return;
    }
    btCancelaClick();
    // The grid keeps the statement and parameters of its last filter.
    db::Dataset& laudos = dm_.dataset(QStringLiteral("quLaudo"));
    laudos.close();
    laudos.open();
    grNome->viewport()->update();
}

void TfmLaudo::btImprimeClick()
{
    db::Dataset& print = dm_.dataset(QStringLiteral("quRlaudo"));
    // The stored laudo that holds the number, not what the form shows.
    openStatement(print, laudoToPrint(edAih->digits()));
    if (!print.eof())
        relato_.repLaudoatual->print();
}

void TfmLaudo::btPesqClick()
{
    LaudoFilter filter;
    if (chPrest->isChecked())
        filter.cnes = pqPrest->key();
    if (chAno->isChecked())
        filter.competence = std::make_pair(static_cast<int>(pqAno->value()), static_cast<int>(pqMes->value()));
    if (chFolha->isChecked())
        filter.folha = static_cast<int>(pqFolha->value());
    if (chAih->isChecked())
        filter.aih = pqAih->digits();
    filter.order = rgPesq->itemIndex();
    openStatement(dm_.dataset(QStringLiteral("quLaudo")), laudoFilter(filter));
    grNome->viewport()->update();
}

void TfmLaudo::chooseCharacter(const QVariant& stored)
{
    // The laudo keeps the code as a number (3 for "03").
    cbCarater->setKey({});
    if (!stored.isValid() || stored.isNull())
        return;
    db::Dataset& characters = dm_.dataset(QStringLiteral("quCarater"));
    characters.fetchAll();
    const int code = stored.toInt();
    for (int row = 0; row < characters.fetchedRows(); ++row) {
        bool numeric = false;
        const QString key = characters.valueAt(row, characters.fieldIndex(QStringLiteral("CODCARATER"))).toString();
        if (key.toInt(&numeric) == code && numeric) {
            cbCarater->setKey(key);
            return;
        }
    }
}

void TfmLaudo::grNomeDblClick()
{
    db::Dataset& laudos = dm_.dataset(QStringLiteral("quLaudo"));
    if (!laudos.isOpen() || !laudos.moveTo(grNome->currentRow()))
        return;
    auto v = [&](const char* field) { return laudos.value(QString::fromLatin1(field)); };
    edFolha->setText(v("FOLHA").toString());
    edSeq->setText(v("SEQUENCIA").toString());
    edMes->setValue(v("MESCOMP").toInt());
    edAno->setValue(v("ANOCOMP").toInt());
    cbPrest->setKey(v("CNES").toString());
    edAih->setDigits(digitsOf(v("NUMAIH")));
    edDv->setValue(v("DVAIH").toInt());
    edMeslib->setValue(v("MESLIBE").toInt());
    edAnolib->setValue(v("ANOLIBE").toInt());
    edPaciente->setText(v("PACIENTE").toString());
    edDatanasc->setDate(v("DATANASC").toDate());
    rgSexo->setItemIndex(sexItem(v("SEXO")));
    chooseCharacter(v("CARATERINT"));
    cbEspec->setKey(v("ESPECIALIDADE").isNull() ? QString() : QString::number(v("ESPECIALIDADE").toInt()));
    cbProced->setKey(v("PROCEDIMENTO").toString());
    edCpfsolicita->setDigits(digitsOf(v("CPFSOLICITA"), 11));
    edObserv->setText(v("OBSERV").toString());
    edValormedio->setValue(v("VALORMEDIO").toDouble());
    edCpfautoriza->setDigits(digitsOf(v("CPFAUTORIZA"), 11));
    edCodmunintern->setText(v("MUNINTERN").toString());
    cbMun->setKey(v("MUNORIG").toString());
    btInclui->setEnabled(false);
    btAltera->setEnabled(true);
    btExclui->setEnabled(true);

    for (QLabel* l : {lbPrest, lbCarater, lbProced, lbEspec, lbCpfsolicita, lbCpfautoriza})
        l->clear();
    lbCarater->setText(listValue("quCarater", "CODCARATER", cbCarater->key(), "DESCRICAO"));
    lbEspec->setText(listValue("quEspec", "CODESP", cbEspec->key(), "DESCRICAO"));
    lbProced->setText(listValue("quProced", "CODPROC", cbProced->key(), "NOME"));
    lbPrest->setText(listValue("quPrest", "CNES", cbPrest->key(), "NOME_FANTA"));
    // No name of an earlier laudo stays beside this one's municipality.
    edMunintern->clear();
    if (!cbPrest->key().isEmpty())
        edMunintern->setText(municipalityName(dm_, edCodmunintern->text()));
    showProfessional(lbCpfsolicita, edCpfsolicita->digits());
    showProfessional(lbCpfautoriza, edCpfautoriza->digits());
    setEditable({edFolha, edSeq, edMes, edAno}, false);
    lbCons->setText(QStringLiteral("1"));
}

void TfmLaudo::showProfessional(QLabel* name, const QString& cpf)
{
    if (const auto found = professionalName(dm_, cpf))
        name->setText(*found);
}

void TfmLaudo::edAnoExit()
{
    // Only a new laudo's own year proposes: a loaded laudo's sequence is its key.
    if (mode() != Mode::Insert || edAno->isReadOnly())
        return;
    const auto next = proposeSequence(dm_, edFolha->text().toInt(), static_cast<int>(edAno->value()),
                                      static_cast<int>(edMes->value()));
    if (!next) {
        widgets::messages().information(fullSheet());
        return;
    }
    edSeq->setText(QString::number(*next));
}

void TfmLaudo::cbPrestExit()
{
    const QString cnes = cbPrest->key();
    if (cnes.isEmpty())
        return;
    lbPrest->setText(listValue("quPrest", "CNES", cnes, "NOME_FANTA"));
    const auto municipality = managingMunicipality(dm_, listValue("quPrest", "CNES", cnes, "CODMUNGEST"));
    edCodmunintern->setText(municipality ? municipality->code : QString());
    edMunintern->setText(municipality ? municipality->name : QString());
    if (sheetHasOtherProvider(dm_, entries().key, cnes))
        widgets::messages().information(otherProvider());
}

void TfmLaudo::cbCaraterExit()
{
    lbCarater->setText(listValue("quCarater", "CODCARATER", cbCarater->key(), "DESCRICAO"));
}

void TfmLaudo::cbEspecExit()
{
    lbEspec->setText(listValue("quEspec", "CODESP", cbEspec->key(), "DESCRICAO"));
}

void TfmLaudo::cbProcedExit()
{
    const QString code = cbProced->key();
    lbProced->setText(listValue("quProced", "CODPROC", code, "NOME"));
    if (code.isEmpty() || mode() != Mode::Insert)
        return;
    db::Dataset& procedures = dm_.dataset(QStringLiteral("quProced"));
    const double hospital = procedures.lookup(QStringLiteral("CODPROC"), code, QStringLiteral("VLR_SH")).toDouble();
    const double professional = procedures.lookup(QStringLiteral("CODPROC"), code, QStringLiteral("VLR_SP")).toDouble();
    edValormedio->setValue(currency(currency(hospital) + currency(professional)));
}

void TfmLaudo::edDvExit()
{
    const auto number = aihNumber(edAih->digits());
    const QString warning = number ? checkNumber(dm_, *number, static_cast<int>(edDv->value()),
                                                 static_cast<int>(edMeslib->value()),
                                                 static_cast<int>(edAnolib->value()))
                                   : missingAih();
    if (!warning.isEmpty())
        widgets::messages().information(warning);
}

void TfmLaudo::edDatanascExit()
{
    if (rgSexo->itemIndex() < 0)
        rgSexo->setItemIndex(0);
    QRadioButton* chosen = rgSexo->button(rgSexo->itemIndex());
    if (chosen && !rgSexo->isAncestorOf(QApplication::focusWidget()))
        chosen->setFocus(Qt::TabFocusReason);
}

void TfmLaudo::edCpfsolicitaExit()
{
    showProfessional(lbCpfsolicita, edCpfsolicita->digits());
}

void TfmLaudo::edCpfautorizaExit()
{
    showProfessional(lbCpfautoriza, edCpfautoriza->digits());
}

void TfmLaudo::pqDvExit()
{
    const auto number = aihNumber(pqAih->digits());
    if (!number) {
        widgets::messages().information(missingAih());
        return;
    }
    if (const QString warning = checkDistributed(dm_, *number, static_cast<int>(pqDv->value())); !warning.isEmpty())
        widgets::messages().information(warning);
}

} // namespace talvera::laudos
