#include "shell/bootstrap.h"

#include "core/datamodule.h"
#include "laudos/laudo.h"
#include "laudos/lookups.h"
#include "laudos/mescomp.h"
#include "laudos/rellaudo.h"
#include "ranges/cmovim.h"
#include "ranges/distr.h"
#include "ranges/etiq.h"
#include "ranges/exporta.h"
#include "ranges/receb.h"
#include "reports/parame.h"
#include "reports/relato.h"
#include "shell/altsen.h"
#include "shell/principal.h"
#include "widgets/longoperation.h"
#include "writeoff/consultations.h"
#include "writeoff/parameters.h"
#include "writeoff/vorqmun.h"
#include "writeoff/vorqmunwin.h"

#include <QLineEdit>

#include <utility>
#include <vector>

namespace talvera {

namespace {

// Plain pointers on purpose: the program destroys them itself, in order
// (destroyForms). Static objects would be destroyed by exit() too, from
// wherever it was called, after the display or the engine is gone.
TfmPrincipal* principal = nullptr;
DataModule* dataModule = nullptr;
std::vector<std::pair<QString, QWidget*>>* forms = nullptr;

void add(const char* name, QWidget* widget)
{
    forms->emplace_back(QString::fromLatin1(name), widget);
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
    principal = new TfmPrincipal(edition);
    dataModule = new DataModule(edition, build, configFile);
    principal->setDataModule(dataModule);
    forms = new std::vector<std::pair<QString, QWidget*>>;
    DataModule& dm = *dataModule;
    // An end asked from outside (a logout's SIGTERM) ends the program as "Sair" does.
    widgets::setProgramEnd([] {
        if (principal)
            principal->endProgram();
    });

    add("fmReceb", new ranges::TfmReceb(dm));
    add("fmDistr", new ranges::TfmDistr(dm));
    add("fmCmovim", new ranges::TfmCmovim(dm));
    // The report container comes before every form that prints.
    auto* relato = new reports::TfmRelato(dm);
    add("fmRelato", relato);
    add("fmAltsen", new TfmAltsen(dm, [] { return principal ? principal->edUsu->text() : QString(); }));
    add("fmExporta", new ranges::TfmExporta(dm, *relato));
    add("fmVorqmun", new writeoff::TfmVorqmun(dm));
    add("fmBaixamun", new writeoff::TfmBaixamun(dm));
    add("fmNbaixamun", new writeoff::TfmNbaixamun(dm));
    add("fmCbaixa", new writeoff::TfmCbaixa(dm));
    add("fmParame", new reports::TfmParame(dm, *relato));
    add("fmEtiq", new ranges::TfmEtiq(dm, *relato));
    add("fmGerparam", new writeoff::TfmGerparam(dm));
    auto* laudo = new laudos::TfmLaudo(dm, *relato);
    add("fmLaudo", laudo);
    add("fmLimpabase", new writeoff::TfmLimpabase(dm));
    add("fmMescomp", new laudos::TfmMescomp(dm));
    auto* providers = new laudos::TfmConprest(dm, *laudo);
    add("fmConprest", providers);
    auto* characters = new laudos::TfmConcara(dm, *laudo);
    add("fmConcara", characters);
    auto* specialties = new laudos::TfmConespec(dm, *laudo);
    add("fmConespec", specialties);
    auto* procedures = new laudos::TfmConproced(dm, *laudo);
    add("fmConproced", procedures);
    add("fmVorqmunwin", new writeoff::TfmVorqmunwin(dm));
    add("fmRellaudo", new laudos::TfmRellaudo(dm, *relato));
    auto* professionals = new laudos::TfmConprof(dm, *laudo);
    add("fmConprof", professionals);
    laudo->setLookupDialogs(providers, characters, specialties, procedures, professionals);
    add("fmGerparvorq", new writeoff::TfmGerparvorq(dm));
}

void destroyForms()
{
    if (!principal)
        return;
    widgets::setProgramEnd({});
    // The forms first, newest first; then the main form; then the data
    // module, which commits and closes the connections.
    for (auto it = forms->rbegin(); it != forms->rend(); ++it)
        delete it->second;
    delete forms;
    forms = nullptr;
    delete std::exchange(principal, nullptr);
    delete std::exchange(dataModule, nullptr);
}

TfmPrincipal* fmPrincipal()
{
    return principal;
}

DataModule& dmAih()
{
    return *dataModule;
}

QWidget* form(const QString& name)
{
    if (name == QLatin1String("fmPrincipal"))
        return principal;
    if (!forms)
        return nullptr;
    for (const auto& [formName, widget] : *forms) {
        if (formName == name)
            return widget;
    }
    return nullptr;
}

QStringList formNames()
{
    QStringList names{QStringLiteral("fmPrincipal")};
    if (forms) {
        for (const auto& entry : *forms)
            names << entry.first;
    }
    return names;
}

} // namespace talvera
