#include "tests/reports/reportfixture.h"

namespace talvera::test {

ReportFixture::ReportFixture(Edition edition)
{
    BuildSettings build{QStringLiteral("127.0.0.1"), dir.file(QStringLiteral("TALVERA.GDB")), dir.prefix()};
    dm = std::make_unique<DataModule>(edition, build, dir.configFile());
    dm->dbVorqwin.open();
    relato = std::make_unique<reports::TfmRelato>(*dm);
    relato->setReportDate(QDate(2016, 5, 17));
}

ReportFixture::~ReportFixture()
{
    relato.reset();
    dm.reset();
}

void ReportFixture::exec(db::Database& database, const QString& sql, const QVariantList& params)
{
    db::Query q(database);
    q.setStatement(sql, params);
    q.execSql();
    database.transaction().commitRetaining();
}

void ReportFixture::open(const QString& dataset, const QString& sql, const QVariantList& params)
{
    db::Dataset& ds = dm->dataset(dataset);
    ds.close();
    ds.setStatement(sql, params);
    ds.open();
}

reports::Document ReportFixture::shownDocument()
{
    auto& shown = previews->documents;
    EXPECT_EQ(shown.size(), 1u);
    if (shown.empty())
        return {};
    reports::Document doc = shown.back();
    shown.clear();
    return doc;
}

QStringList dumpLines(const reports::Document& doc)
{
    return doc.dump().split(u'\n', Qt::SkipEmptyParts);
}

QStringList pageLines(const reports::Document& doc, int page)
{
    QStringList out;
    const QString prefix = QString::number(page + 1) + u' ';
    for (const QString& line : dumpLines(doc)) {
        if (line.startsWith(prefix))
            out << line;
    }
    return out;
}

QString lineOf(const reports::Document& doc, int page, const QString& text)
{
    for (const QString& line : pageLines(doc, page)) {
        if (line.section(u' ', 4) == text)
            return line;
    }
    return {};
}

double xOf(const QString& line)
{
    return line.section(u' ', 1, 1).toDouble();
}

double yOf(const QString& line)
{
    return line.section(u' ', 2, 2).toDouble();
}

QString flagsOf(const QString& line)
{
    return line.section(u' ', 3, 3);
}

} // namespace talvera::test
