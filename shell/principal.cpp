#include "shell/principal.h"

#include "core/codepage.h"
#include "core/datamodule.h"
#include "shell/bootstrap.h"
#include "shell/emblem.h"
#include "widgets/enterfocus.h"
#include "widgets/guard.h"
#include "widgets/messages.h"
#include "widgets/password.h"
#include "widgets/radiogroup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace talvera {

namespace {

QLabel* hiddenLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(QString::fromLatin1(name), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->hide();
    return label;
}

QLabel* title(QWidget* parent, const char* name, const QString& text, const QColor& colour, int points,
              bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(points);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

// One menu item: its name, caption, the form it opens and the preset it sets.
struct MenuEntry {
    const char* name;
    const char* caption;
    const char* form;       // null: separator
    const char* option = nullptr;
    bool showMonth = false;
    bool hidden = false;
};

} // namespace

bool userTextStorable(const QString& text)
{
    return text.size() <= kUserTextWidth && codepage::win1252Holds(text);
}

TfmPrincipal::TfmPrincipal(Edition edition, QWidget* parent) : QMainWindow(parent), edition_(edition)
{
    setObjectName(QStringLiteral("fmPrincipal"));
    setWindowTitle(QStringLiteral("Menu Principal"));
    resize(714, 449);
    showModal = [](QWidget* f) {
        if (auto* dialog = qobject_cast<QDialog*>(f))
            dialog->exec();
        else
            f->show();
    };
    buildContent();
    buildMenu();
    widgets::installEnterMovesFocus(this);
}

void TfmPrincipal::buildContent()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("pnPrincipal"));
    central->setAutoFillBackground(true);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(24, 24, 24, 12);
    layout->setSpacing(6);

    const QColor navy(0, 0, 128);
    lbMun = title(central, "lbMun", QStringLiteral("Versão Municipal"), navy, 18, true);
    lbPref = title(central, "lbPref", QStringLiteral("Prefeitura"), navy, 18, true);
    lbMun->hide();
    lbPref->hide();
    layout->addWidget(lbMun);
    layout->addWidget(lbPref);
    layout->addSpacing(12);

    auto* emblem = new Emblem(central);
    emblem->setObjectName(QStringLiteral("Image2"));
    layout->addWidget(emblem, 0, Qt::AlignHCenter);
    layout->addWidget(title(central, "Label4", QStringLiteral("Governo do Estado de Varnela"), Qt::blue, 12));
    layout->addWidget(title(central, "Label5", QStringLiteral("Secretaria de Estado da Saúde - NOVRA"), Qt::red, 10));
    QLabel* label7 = title(central, "Label7", QStringLiteral("Talvera"), Qt::black, 10);
    QFont serif = label7->font();
    serif.setFamily(QStringLiteral("DejaVu Serif"));
    serif.setStyleHint(QFont::Serif);
    serif.setItalic(true);
    label7->setFont(serif);
    layout->addWidget(label7);
    layout->addSpacing(24);

    pnUsuario = new QFrame(central);
    pnUsuario->setObjectName(QStringLiteral("pnUsuario"));
    pnUsuario->setFrameShape(QFrame::StyledPanel);
    pnUsuario->setFrameShadow(QFrame::Raised);
    auto* grid = new QGridLayout(pnUsuario);
    grid->setContentsMargins(16, 12, 16, 12);
    auto* label1 = new QLabel(QStringLiteral("USUÁRIO"), pnUsuario);
    label1->setObjectName(QStringLiteral("Label1"));
    edUsu = new QLineEdit(pnUsuario);
    edUsu->setObjectName(QStringLiteral("edUsu"));
    edUsu->setFixedWidth(edUsu->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 10);
    auto* label3 = new QLabel(QStringLiteral("SENHA"), pnUsuario);
    label3->setObjectName(QStringLiteral("Label3"));
    edSen = new QLineEdit(pnUsuario);
    edSen->setObjectName(QStringLiteral("edSen"));
    widgets::showAsPassword(edSen);
    edUsu->setMaxLength(kUserTextWidth);
    edSen->setMaxLength(kUserTextWidth);
    edSen->setFixedWidth(edUsu->width());
    Button1 = new QPushButton(QStringLiteral("Confirma"), pnUsuario);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Cancela"), pnUsuario);
    Button2->setObjectName(QStringLiteral("Button2"));
    grid->addWidget(label1, 0, 0);
    grid->addWidget(edUsu, 0, 1);
    grid->addWidget(label3, 1, 0);
    grid->addWidget(edSen, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    grid->addLayout(buttons, 2, 0, 1, 2);
    setTabOrder(edUsu, edSen);
    setTabOrder(edSen, Button1);
    setTabOrder(Button1, Button2);
    layout->addWidget(pnUsuario, 0, Qt::AlignHCenter);
    layout->addStretch(1);

    lbVersao = new QLabel(QLatin1String(kProgramVersion), central);
    lbVersao->setObjectName(QStringLiteral("lbVersao"));
    lbVersao->setAlignment(Qt::AlignRight);
    layout->addWidget(lbVersao);

    rgVersao = new widgets::RadioGroup(QStringLiteral("Versão"), {QStringLiteral("Estadual"), QStringLiteral("Municipal")},
                                       central);
    rgVersao->setObjectName(QStringLiteral("rgVersao"));
    rgVersao->setItemIndex(static_cast<int>(edition_));
    rgVersao->setEnabled(false);
    rgVersao->hide();
    edPref = new QLineEdit(QStringLiteral("edPref"), central);
    edPref->setObjectName(QStringLiteral("edPref"));
    edPref->hide();
    lbAih = hiddenLabel(central, "lbAih");
    lbAih10 = hiddenLabel(central, "lbAih10");
    lbSenha1 = hiddenLabel(central, "lbSenha1");
    lbSenha2 = hiddenLabel(central, "lbSenha2");
    lbPvez = hiddenLabel(central, "lbPvez");

    connect(Button1, &QPushButton::clicked, this, widgets::guardedSlot([this] { button1Click(); }));
    // "Cancela" leaves the program, as closing the window does.
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);
}

void TfmPrincipal::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MM1"));
    auto addMenu = [&](const char* name, const char* caption, std::initializer_list<MenuEntry> entries) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromLatin1(name) + QStringLiteral("Menu"));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        for (const MenuEntry& e : entries) {
            if (!e.form) {
                menu->addSeparator()->setObjectName(QString::fromLatin1(e.name));
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(e.caption));
            action->setObjectName(QString::fromLatin1(e.name));
            action->setVisible(!e.hidden);
            const QString formName = QString::fromLatin1(e.form);
            const QString option = e.option ? QString::fromLatin1(e.option) : QString();
            const bool showMonth = e.showMonth;
            connect(action, &QAction::triggered, this,
                    widgets::guardedSlot([this, formName, option, showMonth] { openForm(formName, option, showMonth); }));
        }
        topItems_.push_back(menu->menuAction());
    };

    addMenu("Cadastros1", "Cadastros",
            {{"RecebimentodoMinistrio1", "Previsão Anual", "fmReceb"},
             {"DistribuionoEstado1", "Distribuição de AIH's e APAC's", "fmDistr"}});
    addMenu("Consultas1", "Consultas",
            {{"Movimentos1", "Movimentos", "fmCmovim"},
             {"Municpiosbaixados1", "Municípios baixados", "fmBaixamun"},
             {"MunicpiosNObaixados1", "Municípios Não baixados", "fmNbaixamun"},
             {"Pacientes1", "Pacientes", "fmCbaixa"}});
    addMenu("Relatrios1", "Relatórios",
            {{"DistribuioporMsAno1", "Distribuição por Mês/Ano - Município de Origem", "fmParame", "1"},
             {"DistribuioporMsAnoMunicpiodeReferncia1", "Distribuição por Mês/Ano - Município de Referência",
              "fmParame", "2"},
             {"DistribuioporMunicpio1", "Distribuição por Município de Origem", "fmParame", "3"},
             {"DistribuioporMunicpiodeReferncia1", "Distribuição por Município de Referência", "fmParame", "4"},
             {"N1", nullptr, nullptr},
             {"BaixaporMunicpiodeOrigem1", "Baixa por Município de Origem / Ano", "fmParame", "5"},
             {"BaixaporMunicpiodeOrigem2", "Baixa por Município de Origem / Ano / Mês", "fmParame", "6"},
             {"RelaodeAihsApacsnoutilizadas1", "Relação de Aih´s / Apac´s eletivas não utilizadas", "fmParame", "7"},
             {"RelaodeAihsutilizadasporMunicpiodeOrigem1", "Relação de Aih´s utilizadas por Município de Origem",
              "fmParame", "8", true},
             {"RelaodeAihsutilizadasporMunicpiodeReferncia1",
              "Relação de Aih´s utilizadas por Município de Referência", "fmParame", "9", true},
             {"LaudosdoVORQ1", "Laudos do VORQ", "fmRellaudo"},
             {"N2", nullptr, nullptr},
             {"ExportaExcel1", "Exporta Excel", "fmExporta"},
             {"Etiquetas1", "Etiquetas", "fmEtiq"}});
    addMenu("Vorq1", "Vorq",
            {{"Laudos1", "Laudos", "fmLaudo"}, {"ConfiguraMsAno1", "Configura Mês/Ano", "fmMescomp"}});
    addMenu("Utilitrios1", "Utilitários",
            {{"ImportaodoVORQmunicipal1", "Importação do VORQ dos", "fmVorqmun", nullptr, false, true},
             {"ImportaodoVORQ1", "Importação do VORQ windows", "fmVorqmunwin"},
             {"GerarParmetroMunicipal1", "Gerar Parâmetro Municipal", "fmGerparam", nullptr, false, true},
             {"GerarParmetroMunicipalVORQ1", "Gerar Parâmetro Municipal - VORQ", "fmGerparvorq"},
             {"LimparBaseMensal1", "Limpar Base Mensal", "fmLimpabase", nullptr, false, true}});

    QAction* senha = bar->addAction(QStringLiteral("Senha"));
    senha->setObjectName(QStringLiteral("Senha1"));
    connect(senha, &QAction::triggered, this, widgets::guardedSlot([this] { openForm(QStringLiteral("fmAltsen"), {}, false); }));
    topItems_.push_back(senha);
    QAction* sair = bar->addAction(QStringLiteral("Sair"));
    sair->setObjectName(QStringLiteral("Sair1"));
    connect(sair, &QAction::triggered, this, [this] { endProgram(); });
    topItems_.push_back(sair);

    // At design: everything but "Sair" disabled; "Cadastros" and "Vorq" hidden.
    for (int i = 0; i <= 5; ++i)
        topItem(i)->setEnabled(false);
    topItem(0)->setVisible(false);
    topItem(3)->setVisible(false);
}

QAction* TfmPrincipal::topItem(int index) const
{
    return topItems_.at(static_cast<size_t>(index));
}

QAction* TfmPrincipal::item(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name));
}

void TfmPrincipal::openForm(const QString& formName, const QString& option, bool showMonth)
{
    QWidget* target = form(formName);
    if (!target)
        return;
    if (formName == QLatin1String("fmParame")) {
        if (auto* opcao = target->findChild<QLabel*>(QStringLiteral("lbOpcao")))
            opcao->setText(option);
        if (auto* month = target->findChild<QWidget*>(QStringLiteral("rgMes")))
            month->setVisible(showMonth);
    }
    showModal(target);
}

void TfmPrincipal::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Only the program's own showing runs the start-up, not a restore from the task bar.
    if (!event->spontaneous())
        widgets::guarded([this] { formShow(); });
}

void TfmPrincipal::applyEditionLayout()
{
    if (edition_ == Edition::State) {
        lbMun->hide();
        lbPref->hide();
        topItem(0)->setVisible(true);
        topItem(3)->setVisible(false);
        for (const char* name : {"ImportaodoVORQmunicipal1", "ImportaodoVORQ1", "GerarParmetroMunicipal1",
                                 "GerarParmetroMunicipalVORQ1"})
            item(name)->setVisible(true);
        item("LimparBaseMensal1")->setVisible(false);
    } else {
        lbMun->show();
        lbPref->show();
        topItem(0)->setVisible(false);
        topItem(3)->setVisible(true);
        topItem(4)->setVisible(false);
    }
}

bool TfmPrincipal::vorqBelongsHere()
{
    db::Dataset& tabelamun = dm_->dataset(QStringLiteral("tabelamun"));
    db::Dataset& munVorq = dm_->dataset(QStringLiteral("tbMunvorq"));
    if (!tabelamun.isOpen())
        tabelamun.open();
    munVorq.close();
    munVorq.open();
    return tabelamun.asString(QStringLiteral("CODMUN")) == munVorq.asString(QStringLiteral("CODMUN"));
}

void TfmPrincipal::formShow()
{
    DataModule& dm = *dm_;
    // The menus are arranged before anything can fail, so a failure never
    // leaves the other edition's menus on show.
    applyEditionLayout();
    bool endAfterwards = false;
    try {
        // Vorq's database first: its connection reads CONFIGBD.TXT for every database.
        dm.dbVorqwin.open();
        dm.trVorqwin().start();
        dm.dbMun.open();
        dm.trMun().start();
        mirrorSettings();
        if (edition_ == Edition::Municipal && !vorqBelongsHere()) {
            widgets::messages().information(QStringLiteral("O arquivo do VORQ está diferente do município em uso"));
            endAfterwards = true;
        }
    } catch (const db::DatabaseError& e) {
        mirrorSettings();
        widgets::messages().error(e.message());
        // Without Vorq's and the parameter database the municipal edition
        // cannot make sure that Vorq's data is its own: it does not go on.
        if (edition_ == Edition::Municipal)
            endProgram();
        return;
    }
    setWindowState(windowState() | Qt::WindowMaximized);
    db::Dataset& mun = dm.dataset(QStringLiteral("quMun"));
    mun.close();
    mun.open();
    if (endAfterwards)
        endProgram();
}

void TfmPrincipal::mirrorSettings()
{
    const RunSettings& s = dm_->settings;
    lbPvez->setText(s.pvez);
    lbAih->setText(s.aih);
    lbAih10->setText(s.aih10);
    lbSenha1->setText(s.senha1);
    lbSenha2->setText(s.senha2);
    lbPref->setText(s.pref);
    edPref->setText(s.edPref);
}

void TfmPrincipal::button1Click()
{
    DataModule& dm = *dm_;
    auto& messages = widgets::messages();
    const QString user = edUsu->text();
    if (edition_ == Edition::Municipal) {
        const QString trimmed = user.trimmed();
        if (trimmed == QLatin1String("1") || trimmed == QLatin1String("2")) {
            messages.information(QStringLiteral("Usuário não cadastrado"));
            return;
        }
    }
    // A code the column cannot hold belongs to nobody; the database is not asked.
    if (!userTextStorable(user)) {
        messages.information(QStringLiteral("Usuário não cadastrado"));
        return;
    }
    db::Query& q = dm.quConsulta;
    q.setStatement(QStringLiteral("select * from usuario where codusu = :p1 "), {user});
    q.open();
    if (q.eof()) {
        messages.information(QStringLiteral("Usuário não cadastrado"));
        return;
    }
    if (edSen->text() != q.value(QStringLiteral("SENHA")).toString()) {
        messages.information(QStringLiteral("Senha incorreta"));
        return;
    }
    pnUsuario->hide();
    for (int i = 0; i <= 5; ++i)
        topItem(i)->setEnabled(true);
    dm.settings.user = user;

    db::Dataset& param = dm.dataset(QStringLiteral("tbParam"));
    param.close();
    param.open();
    if (param.asString(QStringLiteral("VERSAO")) != lbVersao->text()) {
        messages.information(QStringLiteral("Versão desatualizada, entre em contato com o DELCOR"));
        endProgram();
    }
}

void TfmPrincipal::endProgram()
{
    ended_ = true;
    // The open forms close first, so their own closing work runs (a
    // consultation points the main connection back at the main database).
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            window->close();
    }
    closeConnections();
    // Queued: this may run while the window is still being shown (a start-up
    // check), when closing it would leave a window that is never painted, and
    // before the event loop runs, when nothing would end it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            close();
            QCoreApplication::quit();
        },
        Qt::QueuedConnection);
}

void TfmPrincipal::closeConnections()
{
    // Closing the connections commits whatever is still pending.
    if (dm_)
        widgets::guarded([this] { dm_->closeAll(); });
}

void TfmPrincipal::closeEvent(QCloseEvent* event)
{
    ended_ = true;
    closeConnections();
    event->accept();
    QCoreApplication::quit();
}

} // namespace talvera
