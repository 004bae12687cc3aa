// The four reports of distributed number ranges (landscape A4).
#include "reports/layouts.h"

namespace talvera::reports {

namespace {

const QString kDistrTitle = QStringLiteral("Relação de distribuição de Aih/Apac por mês/ano");
const QString kQuantPicture = QStringLiteral("###,###,##0");

struct Column {
    const char* title;
    const char* field;
    double left;
    double width;
};

// By month: the first column is the municipality the group breaks on, whose
// name shows only on the first line of each group and of each page.
void byMonth(ReportDesign& d, const char* breakField, const char* firstName, const char* firstTitle,
             const char* secondName, const char* secondTitle)
{
    const double w = kLandscapeWidth;
    d.title = kDistrTitle;
    d.page.orientation = QPageLayout::Landscape;
    d.pageHeader.height = standardHeading(d.pageHeader, d.title, w);

    const Column columns[] = {{firstTitle, firstName, 0, 58},        {secondTitle, secondName, 60, 58},
                              {"Inicial", "inic", 120, 34},          {"Final", "fina", 156, 34},
                              {"Quant", "quant", 192, 18},           {"Tipo", "TIPO", 214, 10},
                              {"Categoria", "categoria", 226, 58}};

    d.addGroup(QStringLiteral("ANOCOMP"), true);
    Group& month = d.addGroup(QStringLiteral("MESCOMP"), true);
    month.header.height = 14;
    month.header.label(QStringLiteral("Mês/Ano:"), 0, 1, 16);
    month.header.computed(slash(QStringLiteral("MESCOMP"), QStringLiteral("ANOCOMP"), QStringLiteral("00")), 17, 1,
                          20);
    for (const Column& c : columns) {
        Item& title = month.header.label(QString::fromUtf8(c.title), c.left, 7, c.width);
        if (QLatin1String(c.field) == QLatin1String("quant"))
            title.right();
    }
    month.header.rule(0, 12.5, w);

    const QString shownName = QString::fromLatin1(firstName);
    const QString item = QStringLiteral("db") + shownName;
    Group& municipality = d.addGroup(QString::fromLatin1(breakField), true);
    const int subtotal = d.sum(QStringLiteral("quant"), 2);
    const int total = d.sum(QStringLiteral("quant"));

    d.detail.height = 5;
    for (const Column& c : columns) {
        Item& field = d.detail.field(QString::fromLatin1(c.field), c.left, 0, c.width);
        if (QLatin1String(c.field) == QLatin1String("quant"))
            field.right().picture = kQuantPicture;
        if (QLatin1String(c.field) == QLatin1String(firstName))
            field.named(item);
    }
    auto show = [item](Printing& p) { p.item(item).visible = true; };
    d.pageHeader.afterPrint = show;
    municipality.header.afterPrint = show;
    d.detail.afterPrint = [item](Printing& p) { p.item(item).visible = false; };

    municipality.footer.height = 9;
    municipality.footer.rule(192, 0.5, 18);
    municipality.footer.label(QStringLiteral("SubTotal"), 156, 1.5, 30);
    municipality.footer.total(subtotal, 192, 1.5, 18, kQuantPicture).right();
    municipality.footer.rule(0, 7, w);

    d.summary.height = 8;
    d.summary.label(QStringLiteral("T o t a l"), 156, 2, 30).bold();
    d.summary.total(total, 186, 2, 24, kQuantPicture).right().bold();
}

// By municipality: one page series per municipality, one total each, no grand total.
void byMunicipality(ReportDesign& d, const char* breakField, const char* heading, const char* breakName,
                    const char* otherCode, const char* otherName, const char* otherTitle)
{
    const double w = kLandscapeWidth;
    d.title = kDistrTitle;
    d.page.orientation = QPageLayout::Landscape;
    d.pageHeader.height = standardHeading(d.pageHeader, d.title, w);

    Group& municipality = d.addGroup(QString::fromLatin1(breakField), true);
    Band& header = municipality.header;
    header.height = 14;
    header.label(QString::fromUtf8(heading), 0, 1, 46).bold();
    header.field(QString::fromLatin1(breakField), 47, 1, 16).bold();
    header.field(QString::fromLatin1(breakName), 64, 1, 80).bold();
    const Column titles[] = {{"Mês / Ano", nullptr, 0, 18},    {otherTitle, nullptr, 20, 60},
                             {"Inicial", nullptr, 101, 34},    {"Final", nullptr, 137, 34},
                             {"Quant", nullptr, 173, 18},      {"Tipo", nullptr, 195, 10},
                             {"Categoria", nullptr, 207, 60}};
    for (const Column& c : titles) {
        Item& title = header.label(QString::fromUtf8(c.title), c.left, 7, c.width);
        if (QLatin1String(c.title) == QLatin1String("Quant"))
            title.right();
    }
    header.rule(0, 12.5, w);
    d.addGroup(QStringLiteral("ANOCOMP"));
    d.addGroup(QStringLiteral("MESCOMP"));
    const int total = d.sum(QStringLiteral("quant"), 0);

    Band& detail = d.detail;
    detail.height = 5;
    detail.computed(slash(QStringLiteral("MESCOMP"), QStringLiteral("ANOCOMP"), QStringLiteral("00")), 0, 0, 18);
    detail.field(QString::fromLatin1(otherCode), 20, 0, 16);
    detail.field(QString::fromLatin1(otherName), 37, 0, 62);
    detail.field(QStringLiteral("inic"), 101, 0, 34);
    detail.field(QStringLiteral("fina"), 137, 0, 34);
    detail.field(QStringLiteral("quant"), 173, 0, 18, kQuantPicture).right();
    detail.field(QStringLiteral("TIPO"), 195, 0, 10);
    detail.field(QStringLiteral("categoria"), 207, 0, 60);

    Band& footer = municipality.footer;
    footer.height = 8;
    footer.rule(0, 0.5, w);
    footer.label(QStringLiteral("T o t a l"), 137, 2, 30).bold();
    footer.total(total, 167, 2, 24, kQuantPicture).right().bold();
}

} // namespace

void designDistr(ReportDesign& d)
{
    byMonth(d, "MUNORIG", "nomemunorig", "Município de Origem", "nomemun", "Município de Referência");
}

void designDistrref(ReportDesign& d)
{
    byMonth(d, "MUNREF", "nomemun", "Município de Referência", "nomemunorig", "Município de Origem");
}

void designDistrmun(ReportDesign& d)
{
    byMunicipality(d, "MUNORIG", "Município de Origem:", "nomemunorig", "MUNREF", "nomemun",
                   "Município de Referência");
}

void designDistrmun2(ReportDesign& d)
{
    byMunicipality(d, "MUNREF", "Município de Referência:", "nomemun", "MUNORIG", "nomemunorig",
                   "Município de Origem");
}

} // namespace talvera::reports
