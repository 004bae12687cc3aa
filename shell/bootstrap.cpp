#include "shell/bootstrap.h"

#include "core/datamodule.h"
#include "ranges/cmovim.h"
#include "ranges/distr.h"
#include "ranges/receb.h"
#include "shell/altsen.h"
#include "shell/placeholder.h"
#include "shell/principal.h"
#include "writeoff/consultations.h"
#include "writeoff/parameters.h"
#include "writeoff/vorqmun.h"
#include "writeoff/vorqmunwin.h"

#include <QLineEdit>

#include <memory>
#include <utility>
#include <vector>

namespace talvera {

namespace {

std::unique_ptr<TfmPrincipal> principal;
std::unique_ptr<DataModule> dataModule;
std::vector<std::pair<QString, std::unique_ptr<QWidget>>> forms;

void add(const char* name, QWidget* widget)
{
    forms.emplace_back(QString::fromLatin1(name), std::unique_ptr<QWidget>(widget));
}

void addPlaceholder(const char* name, const char* caption)
{
    add(name, new PlaceholderForm(QString::fromLatin1(name), QString::fromUtf8(caption)));
}

} // namespace

void createForms()
{
    createForms(BuildSettings::fromBuild(), QStringLiteral("CONFIGBD.TXT"));
}

void createForms(const BuildSettings& build, const QString& configFile)
{
    if (principal)
        return; // each form exists once for the whole run
    const Edition edition = buildEdition();
    principal = std::make_unique<TfmPrincipal>(edition);
    dataModule = std::make_unique<DataModule>(edition, build, configFile);
    principal->setDataModule(dataModule.get());
    DataModule& dm = *dataModule;

    add("fmReceb", new ranges::TfmReceb(dm));
    add("fmDistr", new ranges::TfmDistr(dm));
    add("fmCmovim", new ranges::TfmCmovim(dm));
    addPlaceholder("fmRelato", "Módulo de Relatório");
    add("fmAltsen", new TfmAltsen(dm, [] { return principal ? principal->edUsu->text() : QString(); }));
    addPlaceholder("fmExporta", "Exportar Aih's e Apac's");
    add("fmVorqmun", new writeoff::TfmVorqmun(dm));
    add("fmBaixamun", new writeoff::TfmBaixamun(dm));
    add("fmNbaixamun", new writeoff::TfmNbaixamun(dm));
    add("fmCbaixa", new writeoff::TfmCbaixa(dm));
    add("fmParame", new ParameterPlaceholder);
    addPlaceholder("fmEtiq", "Etiquetas");
    add("fmGerparam", new writeoff::TfmGerparam(dm));
    addPlaceholder("fmLaudo", "Cadastro de Laudos");
    add("fmLimpabase", new writeoff::TfmLimpabase(dm));
    addPlaceholder("fmMescomp", "Configurar Mês de Competência");
    addPlaceholder("fmConprest", "Consulta de Prestador");
    addPlaceholder("fmConcara", "Consulta de Caráter de Internação");
    addPlaceholder("fmConespec", "Consulta de Especialidade");
    addPlaceholder("fmConproced", "Consulta de Procedimentos");
    add("fmVorqmunwin", new writeoff::TfmVorqmunwin(dm));
    addPlaceholder("fmRellaudo", "Relação de Laudos do VORQ");
    addPlaceholder("fmConprof", "Consulta de Profissionais");
    add("fmGerparvorq", new writeoff::TfmGerparvorq(dm));
}

void destroyForms()
{
    forms.clear();
    if (principal)
        principal->setDataModule(nullptr);
    dataModule.reset();
    principal.reset();
}

TfmPrincipal* fmPrincipal()
{
    return principal.get();
}

DataModule& dmAih()
{
    return *dataModule;
}

QWidget* form(const QString& name)
{
    if (name == QLatin1String("fmPrincipal"))
        return principal.get();
    for (const auto& [formName, widget] : forms) {
        if (formName == name)
            return widget.get();
    }
    return nullptr;
}

QStringList formNames()
{
    QStringList names{QStringLiteral("fmPrincipal")};
    for (const auto& entry : forms)
        names << entry.first;
    return names;
}

} // namespace talvera
