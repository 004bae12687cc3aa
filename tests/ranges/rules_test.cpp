#include "core/numbers.h"
#include "ranges/rangerules.h"
#include "tests/support/qtprint.h"

#include <gtest/gtest.h>

using namespace talvera::ranges;

TEST(RangeEntryCheck, MessagesInOrder)
{
    struct Case {
        const char* what;
        TypedRange range;
        const char* message;
    };
    // 271610000001 -> 1, 271610000999 -> 4, 271650000001 -> 0 (by the base modulo 11).
    const Case cases[] = {
        {"no category", {0, 2016, 271610000001, 1, 271610000999, 4}, "Selecione a categoria"},
        {"category 2 refused", {2, 2016, 272620000001, 0, 272620000001, 0}, "Utilize apenas as categorias 1, 4 ou 5"},
        {"category 3 refused", {3, 2016, 0, 9, 0, 9}, "Utilize apenas as categorias 1, 4 ou 5"},
        {"first digit", {1, 2016, 271610000001, -1, 271610000999, 0}, "Dígito verificador inicial inválido"},
        {"last digit", {1, 2016, 271610000001, 0, 271610000999, -1}, "Dígito verificador final inválido"},
        {"reversed", {1, 2016, 271610000999, 4, 271610000001, 1}, "O valor Final tem que ser maior que o inicial"},
        {"leading zero first", {1, 2016, 71610000001, 6, 271610000999, 4}, "Valor Inicial inválido"},
        {"thirteen digits last", {1, 2016, 271610000001, 1, 2716100000010, 0}, "Valor Final inválido"},
        {"category 5 state first", {5, 2016, 281650000001, 0, 281650000002, 0}, "Valor Inicial inválido"},
        {"category 5 state last", {5, 2016, 271650000001, 0, 281650000001, 9}, "Valor Final inválido"},
        {"year first", {1, 2015, 271610000001, 1, 271610000999, 2}, "Valor Inicial inválido"},
        {"year last", {1, 2016, 271610000001, 1, 271710000000, 3}, "Valor Final inválido"},
        {"category digit first", {4, 2016, 271610000001, 1, 271640000001, 7}, "Valor Inicial inválido"},
        {"category digit last", {1, 2016, 271610000001, 1, 271640000001, 7}, "Valor Final inválido"},
        {"one number block", {1, 2016, 271610000001, 1, 271610000001, 1}, ""},
        {"2010", {1, 2010, 271010000001, 4, 271010000010, 2}, ""},
        {"2006", {4, 2006, 100640000000, 3, 100640000000, 3}, ""},
        {"other state outside category 5", {1, 2016, 351610000001, 8, 351610000001, 8}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TypedRange r = c.range;
        // The right check digits, but where a case marks one wrong with -1.
        const int firstDigit = talvera::numbers::checkDigit(r.first);
        const int lastDigit = talvera::numbers::checkDigit(r.last);
        r.firstDigit = r.firstDigit == -1 ? (firstDigit + 1) % 10 : firstDigit;
        r.lastDigit = r.lastDigit == -1 ? (lastDigit + 1) % 10 : lastDigit;
        EXPECT_EQ(checkRange(r), QString::fromUtf8(c.message));
    }
}

TEST(RangeEntryCheck, OverlapBoundsAreInclusive)
{
    const qint64 a = 100, b = 200;
    EXPECT_TRUE(overlaps(b, 300, a, b));      // starts at b
    EXPECT_TRUE(overlaps(50, a, a, b));       // ends at a
    EXPECT_FALSE(overlaps(b + 1, 300, a, b)); // starts at b + 1
    EXPECT_FALSE(overlaps(50, a - 1, a, b));
    EXPECT_TRUE(overlaps(150, 160, a, b));    // inside
    EXPECT_TRUE(overlaps(50, 300, a, b));     // enclosing
}

TEST(DistributionListing, FiltersAndOrders)
{
    // municipality ("" = not ticked), year and month (0 = not ticked), order.
    struct Case {
        const char* municipality;
        int year;
        int month;
        int order;
        const char* sql;
        QVariantList params;
    };
    const QString base = "select * from TBDISTR where ANOCOMP > 2005 ";
    const Case cases[] = {
        {"", 0, 0, -1, "", {}},
        {"2700300", 0, 0, -1, "and munref = :p1 ", {"2700300"}},
        {"2700300", 0, 0, 0, "and munorig = :p1 order by MUNORIG, ANOCOMP, MESCOMP, MUNREF", {"2700300"}},
        {"2700300", 2016, 3, 1,
         "and munref = :p1 and anocomp = :p2 and mescomp = :p3 order by MUNREF, ANOCOMP, MESCOMP, MUNORIG",
         {"2700300", 2016, 3}},
        {"", 2016, 0, 2, "and anocomp = :p2 order by ANOCOMP, MESCOMP, MUNORIG, MUNREF", {2016}},
        {"", 0, 12, -1, "and mescomp = :p3 ", {12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        DistributionFilter filter;
        if (*c.municipality)
            filter.municipality = QString::fromLatin1(c.municipality);
        if (c.year)
            filter.year = c.year;
        if (c.month)
            filter.month = c.month;
        filter.order = c.order;
        const Statement s = distributionListing(filter);
        EXPECT_EQ(s.sql, base + QString::fromUtf8(c.sql));
        EXPECT_EQ(s.params, c.params);
    }
}

TEST(MovementConsultation, FourStatementsShareTheFilter)
{
    MovementFilter f;
    f.number = 271610000001;
    f.municipality = "2700300";
    f.byOrigin = false;
    f.month = 2;
    const MovementStatements s = movementConsultation(f);
    const QString filter = "and numero = :p1 and munref = :p2 and mescomp = :p4 ";
    EXPECT_EQ(s.listing.sql, "select * from TBMOVIM where anocomp > 2005 " + filter +
                                 "order by ANOCOMP, MESCOMP, MUNREF, NUMERO");
    EXPECT_EQ(s.total.sql, "select count (*) quant from TBMOVIM where anocomp > 2005 " + filter);
    EXPECT_EQ(s.used.sql, "select count (*) quant from TBMOVIM where anocomp > 2005 and usada = 'S' " + filter);
    EXPECT_EQ(s.unused.sql, "select count (*) quant from TBMOVIM where anocomp > 2005 and usada = 'N' " + filter);
    const QVariantList params{271610000001LL, "2700300", 2};
    for (const Statement* st : {&s.listing, &s.total, &s.used, &s.unused})
        EXPECT_EQ(st->params, params);
    EXPECT_TRUE(movementConsultation({}).listing.sql.endsWith("2005 order by ANOCOMP, MESCOMP, MUNORIG, NUMERO"));
}
