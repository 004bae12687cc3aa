// The shared heading, the labels, the spreadsheet export and the laudo reports.
#include "reports/layouts.h"

#include "core/datamodule.h"
#include "reports/engine/format.h"

namespace talvera::reports {

double standardHeading(Band& band, const QString& title, double width, bool pageNumber)
{
    band.label(QStringLiteral("NOVRA/KILTA"), 0, 0, 40);
    band.label(QStringLiteral("Talvera"), 0, 5, 40);
    band.label(QStringLiteral("Data:"), width - 40, 0, 12);
    band.date(width - 26, 0, 26).right();
    if (pageNumber) {
        band.label(QStringLiteral("Página:"), width - 40, 5, 14);
        band.pageNumber(width - 26, 5, 26).right();
    }
    // The title has a line of its own, so long titles fit a portrait page.
    band.label(title, 0, 10, width).centred().bold().size(11);
    band.rule(0, 16, width);
    return 17.5;
}

TextFunction slash(const QString& first, const QString& second, const QString& firstPicture)
{
    return [first, second, firstPicture](const Printing& p) {
        const QString a = firstPicture.isEmpty() ? p.text(first) : formatNumber(p.value(first), firstPicture);
        return a + u'/' + p.text(second);
    };
}

QString ProviderNames::name(const QString& cnes)
{
    const QString key = cnes.trimmed();
    const auto known = names_.constFind(key);
    if (known != names_.constEnd())
        return *known;
    db::Query& q = dm_.quConsulta;
    q.setStatement(QStringLiteral("select nome_fanta from prestador where cnes = :p1"), {key});
    q.open();
    const QString name = q.eof() ? kUnknownProvider : q.value(0).toString();
    q.close();
    names_.insert(key, name);
    return name;
}

// ------------------------------------------------------------------ labels

void designEtiq(ReportDesign& d, std::function<int()> category)
{
    d.title = QStringLiteral("Etiquetas");
    d.page.paper = QPageSize::Letter;
    d.page.orientation = QPageLayout::Portrait;

    d.titleBand.height = 0;
    d.titleBand.beforePrint = [category](Printing& p) {
        const int chosen = category ? category() : -1;
        const QString prefix = chosen == 0 ? QStringLiteral("AIH  -") : chosen == 1 ? QStringLiteral("APAC -") : QString();
        p.item(QStringLiteral("lbPrefixo")).literal = prefix;
        p.item(QStringLiteral("lbPrefixo2")).literal = prefix;
    };
    d.pageHeader.height = 5.8;
    d.pageFooter.height = 1.6;

    Band& detail = d.detail;
    detail.height = 25.4;
    const struct {
        double left;
        const char* suffix;
    } labels[] = {{18.8, ""}, {124.6, "2"}};
    for (const auto& l : labels) {
        const QString suffix = QString::fromLatin1(l.suffix);
        detail.label({}, l.left, 4.8, 100).named(QStringLiteral("lbOrigem") + suffix);
        detail.label({}, l.left, 9.5, 100).named(QStringLiteral("lbRefer") + suffix);
        detail.label({}, l.left, 14.6, 18.4).named(QStringLiteral("lbPrefixo") + suffix).size(14);
        detail.field(QStringLiteral("nume"), l.left + 18.4, 14.6, 70).size(14);
    }
    // What the handler reads.
    detail.field(QStringLiteral("nomemun"), 0, 0, 10).named(QStringLiteral("dbNomemun")).hidden();
    detail.field(QStringLiteral("nomemunref"), 0, 0, 10).named(QStringLiteral("dbNomemunref")).hidden();
    detail.field(QStringLiteral("tipo"), 0, 0, 10).named(QStringLiteral("dbTipo")).hidden();
    detail.beforePrint = [](Printing& p) {
        const QString origin = QStringLiteral("Origem - ") + p.text(QStringLiteral("nomemun"));
        const QString reference = p.text(QStringLiteral("tipo")) == QLatin1String("E")
                                      ? QString()
                                      : QStringLiteral("Refer. - ") + p.text(QStringLiteral("nomemunref"));
        for (const QString& suffix : {QString(), QStringLiteral("2")}) {
            p.item(QStringLiteral("lbOrigem") + suffix).literal = origin;
            p.item(QStringLiteral("lbRefer") + suffix).literal = reference;
        }
    };
}

// ------------------------------------------------------------------ spreadsheet

void designExcel(ReportDesign& d)
{
    d.title = QStringLiteral("Exportar Aih's e Apac's");
    d.page.orientation = QPageLayout::Landscape;
    d.fileOutput = true;
    d.defaultFileName = QStringLiteral("A:\\exporta distribuicao aih e apac.xls");

    const struct {
        const char* title;
        const char* field;
        double left;
        double width;
    } columns[] = {{"Mun de Referência", "nomemun", 0, 66},   {"Mun de Origem", "nomemunorig", 68, 66},
                   {"Ano", "ANOCOMP", 136, 12},               {"Mês", "MESCOMP", 150, 10},
                   {"Número", "nume", 162, 40},               {"Categoria", "categoria", 204, 80}};
    d.titleBand.height = 6;
    d.detail.height = 5;
    for (const auto& c : columns) {
        d.titleBand.label(QString::fromUtf8(c.title), c.left, 0.5, c.width).forFile();
        d.detail.field(QString::fromLatin1(c.field), c.left, 0, c.width).forFile();
    }
}

// ------------------------------------------------------------------ laudos

void designLaudos(ReportDesign& d, ProviderNames& providers)
{
    const double w = kLandscapeWidth;
    d.title = QStringLiteral("Relação de laudos para o VORQ");
    d.page.orientation = QPageLayout::Landscape;

    Band& header = d.pageHeader;
    header.label(QStringLiteral("NOVRA/KILTA"), 0, 0, 40);
    header.label(QStringLiteral("Talvera"), 0, 5, 40);
    header.label(QStringLiteral("Data:"), w - 40, 0, 12);
    header.date(w - 26, 0, 26).right();
    header.label(QStringLiteral("Página:"), w - 40, 5, 14);
    header.pageNumber(w - 26, 5, 26).right();
    header.label(d.title, 0, 10, w).centred().bold().size(11);
    header.computed(
        [](const Printing& p) {
            return QStringLiteral("Mês/Ano competência: ") + p.text(QStringLiteral("MESCOMP")) + u'/' +
                   p.text(QStringLiteral("ANOCOMP"));
        },
        0, 15, w)
        .centred();
    header.rule(0, 21, w);

    const struct {
        const char* title;
        const char* field;
        double left;
        double width;
    } columns[] = {{"Seq", "SEQUENCIA", 0, 8},           {"Paciente", "PACIENTE", 10, 66},
                   {"AIH", "NUMAIH", 78, 24},            {nullptr, "DVAIH", 104, 4},
                   {"Mun.Origem", "MUNORIG", 109, 20},   {"Mun.Intern", "MUNINTERN", 130, 20},
                   {"CI", "CARATERINT", 151, 6},         {"Esp", "ESPECIALIDADE", 158, 8},
                   {"Proced", "PROCEDIMENTO", 167, 21},  {"Dt.Nasc", "DATANASC", 189, 20},
                   {"Sexo", "SEXO", 210, 9},             {"CPF Solic", "cpfsolicita2", 220, 31},
                   {"CPF Autoriza", "cpfautoriza2", 252, 31}};
    for (const auto& c : columns) {
        if (c.title)
            header.label(QString::fromUtf8(c.title), c.left, 22.5, c.width + 4);
    }
    header.rule(0, 28, w);
    header.label(QStringLiteral("Folha:"), 0, 29.5, 12);
    header.field(QStringLiteral("FOLHA"), 12, 29.5, 12);
    header.label(QStringLiteral("CNES:"), 30, 29.5, 12);
    header.field(QStringLiteral("CNES"), 42, 29.5, 16);
    // The provider of the first row on the page.
    header.computed([&providers](const Printing& p) { return providers.name(p.text(QStringLiteral("CNES"))); }, 60,
                    29.5, 150)
        .named(QStringLiteral("lbPrestador"));
    header.height = 36;

    Group& sheet = d.addGroup(QStringLiteral("FOLHA"), true);
    sheet.footer.height = 3;
    sheet.footer.rule(0, 1, w);

    d.detail.height = 5;
    d.detail.label(QStringLiteral("-"), 102.3, 0, 2);
    for (const auto& c : columns) {
        Item& item = d.detail.field(QString::fromLatin1(c.field), c.left, 0, c.width);
        if (QLatin1String(c.field) == QLatin1String("SEQUENCIA"))
            item.right().picture = QStringLiteral("##");
    }
}

void designLaudoatual(ReportDesign& d, ProviderNames& providers)
{
    const double w = kLandscapeWidth;
    d.title = QStringLiteral("Laudo para o VORQ");
    d.page.orientation = QPageLayout::Landscape;
    d.pageHeader.height = standardHeading(d.pageHeader, d.title, w, false);

    Band& b = d.detail;
    b.height = 103.5;
    auto caption = [&b](const char* text, double left, double top) {
        b.label(QString::fromUtf8(text), left, top, 60).italic();
    };
    auto value = [&b](const char* field, double left, double top, double width = 60) -> Item& {
        return b.field(QString::fromLatin1(field), left, top, width);
    };
    const double rows[] = {4, 17, 30, 43, 56, 69, 82};

    caption("Folha:", 0, rows[0]);
    value("FOLHA", 14, rows[0], 20);
    caption("Sequência:", 40, rows[0]);
    value("SEQUENCIA", 61, rows[0], 12).picture = QStringLiteral("##");
    caption("Mês/Ano competência:", 80, rows[0]);
    b.computed(slash(QStringLiteral("MESCOMP"), QStringLiteral("ANOCOMP")), 118, rows[0], 26);
    caption("CNES Prestador:", 150, rows[0]);
    value("CNES", 179, rows[0], 16);
    b.computed([&providers](const Printing& p) { return providers.name(p.text(QStringLiteral("CNES"))); }, 196,
               rows[0], 88)
        .named(QStringLiteral("lbPrestador"));

    caption("AIH:", 0, rows[1]);
    value("NUMAIH", 10, rows[1], 24);
    b.label(QStringLiteral("-"), 34, rows[1], 2);
    value("DVAIH", 36, rows[1], 5);
    caption("Mês/Ano liberação:", 80, rows[1]);
    b.computed(slash(QStringLiteral("MESLIBE"), QStringLiteral("ANOLIBE")), 118, rows[1], 26);
    caption("Nome do paciente:", 150, rows[1]);
    value("PACIENTE", 183, rows[1], 100);

    caption("Dt.Nasc:", 0, rows[2]);
    value("DATANASC", 17, rows[2], 24);
    caption("Sexo:", 80, rows[2]);
    value("SEXO", 92, rows[2], 10);
    caption("Caráter de Internação:", 150, rows[2]);
    value("CARATERINT", 191, rows[2], 10);

    caption("Especialidade:", 0, rows[3]);
    value("ESPECIALIDADE", 27, rows[3], 20);
    caption("Procedimento:", 80, rows[3]);
    value("PROCEDIMENTO", 106, rows[3], 30);

    caption("CPF Solicitante:", 0, rows[4]);
    value("cpfsolicita2", 30, rows[4], 32);
    caption("Mun.Origem:", 80, rows[4]);
    value("MUNORIG", 102, rows[4], 20);
    caption("CPF Autorizador:", 150, rows[4]);
    value("cpfautoriza2", 181, rows[4], 32);

    caption("Observação:", 0, rows[5]);
    value("OBSERV", 23, rows[5], 200);

    caption("Mun.Internação:", 0, rows[6]);
    value("MUNINTERN", 29, rows[6], 20);
    caption("Valor Médio:", 80, rows[6]);
    value("VALORMEDIO", 104, rows[6], 30);

    b.rule(0, 100, w, 0.3);
}

} // namespace talvera::reports
