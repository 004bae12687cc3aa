// The five reports of how the distributed numbers were used.
#include "reports/layouts.h"

namespace talvera::reports {

namespace {

const QString kCountPicture = QStringLiteral("##,##0");
const QString kRecordsPicture = QStringLiteral("###,###,##0");

// The bold header of a group by municipality: its caption, code and name.
void municipalityHeading(Band& band, const char* caption, const char* code, const char* name)
{
    band.label(QString::fromUtf8(caption), 0, 1, 46).bold();
    band.field(QString::fromLatin1(code), 47, 1, 16).bold();
    band.field(QString::fromLatin1(name), 64, 1, 100).bold().named(QStringLiteral("dbNomeGrupo"));
}

// "n Registro(s)" under a rule.
void recordCount(Band& band, int count, double width)
{
    band.height = 8;
    band.rule(0, 0.5, width);
    band.total(count, 0, 1.5, 22, kRecordsPicture).right();
    band.label(QStringLiteral("Registro(s)"), 24, 1.5, 30);
}

// The counts of used and unused elective numbers per municipality of origin;
// `byMonth` adds the competence month to the year.
void usage(ReportDesign& d, const QString& title, bool byMonth)
{
    const double w = kPortraitWidth;
    d.title = title;
    d.page.orientation = QPageLayout::Portrait;
    d.pageHeader.height = standardHeading(d.pageHeader, d.title, w);

    Group& municipality = d.addGroup(QStringLiteral("MUNORIG"), true);
    Band& header = municipality.header;
    header.height = 14;
    municipalityHeading(header, "Município de Origem:", "MUNORIG", "nomemunorig");
    header.label(byMonth ? QStringLiteral("Mês / Ano") : QStringLiteral("Ano"), 0, 7, 20);
    header.label(QStringLiteral("Usada"), 22, 7, 14);
    header.label(QStringLiteral("Quant"), 38, 7, 20).right();
    header.label(QStringLiteral("Categoria"), 64, 7, 60);
    header.rule(0, 12.5, w);
    municipality.footer.height = 3;
    municipality.footer.rule(0, 1, w);

    d.addGroup(QStringLiteral("ANOCOMP"));
    if (byMonth)
        d.addGroup(QStringLiteral("MESCOMP"));
    Group& used = d.addGroup(QStringLiteral("USADA"));
    const int usedGroup = static_cast<int>(d.groups.size()) - 1;
    const int usedCount = d.count(usedGroup);
    const int periodCount = d.count(usedGroup - 1);
    Band& line = used.footer;
    line.height = 5;
    if (byMonth)
        line.computed(slash(QStringLiteral("MESCOMP"), QStringLiteral("ANOCOMP"), QStringLiteral("00")), 0, 0, 20);
    else
        line.field(QStringLiteral("ANOCOMP"), 0, 0, 20);
    line.field(QStringLiteral("USADA"), 22, 0, 14);
    line.total(usedCount, 38, 0, 20, kCountPicture).right();
    line.field(QStringLiteral("categoria"), 64, 0, 80);

    Band& period = d.groups[static_cast<size_t>(usedGroup - 1)].footer;
    period.height = 8;
    period.rule(38, 0.5, 20);
    period.total(periodCount, 38, 1.5, 20, kCountPicture).right();
    // No detail line: the figures come from the footers.
    d.detail.height = 0;
}

// The used numbers, two lines each, by municipality of origin or of reference.
void care(ReportDesign& d, bool byOrigin)
{
    const double w = kLandscapeWidth;
    d.title = byOrigin ? QStringLiteral("Relação de Aih/Apac usadas por Município de origem / ano / mês")
                       : QStringLiteral("Relação de Aih/Apac usadas por Município de referência / ano / mês");
    d.page.orientation = QPageLayout::Landscape;
    d.pageHeader.height = standardHeading(d.pageHeader, d.title, w);

    Group& municipality = d.addGroup(byOrigin ? QStringLiteral("MUNORIG") : QStringLiteral("MUNREF"), true);
    Band& header = municipality.header;
    header.height = 19.5;
    if (byOrigin)
        municipalityHeading(header, "Município de Origem:", "MUNORIG", "nomemunorig");
    else
        municipalityHeading(header, "Município de Referência:", "MUNREF", "nomemun");
    header.rule(0, 6.5, w);
    header.label(QStringLiteral("Ano/Mês Comp"), 0, 7.5, 26);
    header.label(QStringLiteral("Nº Aih/Apac"), 26, 7.5, 36);
    header.label(byOrigin ? QStringLiteral("Município de Referência") : QStringLiteral("Município de Origem"), 64,
                 7.5, 80);
    header.label(QStringLiteral("Município de Atendimento"), 146, 7.5, 80);
    header.label(QStringLiteral("Categoria"), 228, 7.5, 56);
    header.label(QStringLiteral("Ano/Mês Proc"), 0, 12.5, 26);
    header.label(QStringLiteral("CNPJ Prestador"), 26, 12.5, 36);
    header.label(QStringLiteral("Nome do Prestador"), 64, 12.5, 80);
    header.label(QStringLiteral("Nome do Paciente"), 146, 12.5, 80);
    header.rule(0, 18, w);

    Band& detail = d.detail;
    detail.height = 9.6;
    detail.field(QStringLiteral("ANOCOMP"), 0, 0.3, 10);
    detail.field(QStringLiteral("MESCOMP"), 10.5, 0.3, 6, QStringLiteral("00"));
    detail.field(QStringLiteral("TIPO"), 18, 0.3, 5);
    detail.field(QStringLiteral("nume"), 26, 0.3, 36);
    detail.field(byOrigin ? QStringLiteral("MUNREF") : QStringLiteral("MUNORIG"), 64, 0.3, 15);
    detail.field(byOrigin ? QStringLiteral("nomemun") : QStringLiteral("nomemunorig"), 80, 0.3, 64)
        .named(QStringLiteral("dbNomemun"));
    detail.field(QStringLiteral("MUNATEN"), 146, 0.3, 15);
    detail.field(QStringLiteral("nomemunatend"), 162, 0.3, 64).named(QStringLiteral("dbNomemunatend"));
    detail.field(QStringLiteral("categoria"), 228, 0.3, 56);
    detail.field(QStringLiteral("ANOPROC"), 0, 4.8, 10);
    detail.field(QStringLiteral("MESPROC"), 10.5, 4.8, 6, QStringLiteral("00"));
    detail.field(QStringLiteral("CGC_HSP"), 26, 4.8, 36);
    detail.field(QStringLiteral("nomehosp"), 64, 4.8, 80);
    detail.field(QStringLiteral("NOMEPAC"), 146, 4.8, 80);
    detail.rule(0, 9.3, w, 0.1);
    // Care outside the reference municipality stands out in bold.
    detail.beforePrint = [byOrigin](Printing& p) {
        const bool elsewhere = p.text(QStringLiteral("MUNREF")) != p.text(QStringLiteral("MUNATEN"));
        p.item(QStringLiteral("dbNomemunatend")).bold(elsewhere);
        if (byOrigin)
            p.item(QStringLiteral("dbNomemun")).bold(elsewhere);
    };

    recordCount(municipality.footer, d.count(0), w);
}

} // namespace

void designBaixaoriano(ReportDesign& d)
{
    usage(d, QStringLiteral("Baixa de Aih/Apac por Município de origem / ano"), false);
}

void designBaixaorianomes(ReportDesign& d)
{
    usage(d, QStringLiteral("Baixa de Aih/Apac por Município de origem / ano / mês"), true);
}

void designNusada(ReportDesign& d)
{
    const double w = kPortraitWidth;
    d.title = QStringLiteral("Relação de Aih/Apac não usadas por Município de origem / ano / mês");
    d.page.orientation = QPageLayout::Portrait;
    d.pageHeader.height = standardHeading(d.pageHeader, d.title, w);

    Group& municipality = d.addGroup(QStringLiteral("MUNORIG"), true);
    Band& header = municipality.header;
    header.height = 14;
    municipalityHeading(header, "Município de Origem:", "MUNORIG", "nomemunorig");
    header.label(QStringLiteral("Ano"), 0, 7, 10);
    header.label(QStringLiteral("Mês"), 12, 7, 8);
    header.label(QStringLiteral("Nº Aih/Apac"), 22, 7, 34);
    header.label(QStringLiteral("Município de Referência"), 58, 7, 62);
    header.label(QStringLiteral("VORQ"), 121, 7, 14).centred();
    header.label(QStringLiteral("Categoria"), 137, 7, 60);
    header.rule(0, 12.5, w);

    Band& detail = d.detail;
    detail.height = 5;
    detail.field(QStringLiteral("ANOCOMP"), 0, 0, 10);
    detail.field(QStringLiteral("MESCOMP"), 12, 0, 8, QStringLiteral("00"));
    detail.field(QStringLiteral("nume"), 22, 0, 34);
    detail.field(QStringLiteral("MUNREF"), 58, 0, 15);
    detail.field(QStringLiteral("nomemun"), 74, 0, 46);
    detail.field(QStringLiteral("vorq"), 121, 0, 14).centred();
    detail.field(QStringLiteral("categoria"), 137, 0, 60);

    recordCount(municipality.footer, d.count(0), w);
}

void designAtendorig(ReportDesign& d)
{
    care(d, true);
}

void designAtendref(ReportDesign& d)
{
    care(d, false);
}

} // namespace talvera::reports
