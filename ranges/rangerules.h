#pragma once
// Rules of typed number ranges, and the statements the range forms send:
// plain functions so they can be tested without a window.

#include "core/firebird.h"

#include <QString>
#include <QVariantList>

#include <functional>
#include <optional>

namespace talvera {
class DataModule;
}

namespace talvera::ranges {

// Categories the forecast and the distribution accept: 1, 4 and 5.
bool categoryAccepted(int category);
QString categoryRefusal();
// Texts of the "Categoria" radio groups, category n at index n - 1.
QStringList categoryItems();

// A range as typed: category 0 means none chosen.
struct TypedRange {
    int category = 0;
    int year = 0;
    qint64 first = 0;
    int firstDigit = 0;
    qint64 last = 0;
    int lastDigit = 0;
};

// The check digits, order, length, state, year and category digits of a
// range; the first failing rule's message, or empty when the range passes.
QString checkNumbers(const TypedRange& range);
// The whole range entry check: a category, an accepted one, then the numbers.
QString checkRange(const TypedRange& range);

// Inclusive ranges sharing at least one number.
bool overlaps(qint64 first1, qint64 last1, qint64 first2, qint64 last2);

// The typed digits of a number field; nothing when the field is empty.
std::optional<qint64> readNumber(const QString& digits);

using db::Statement;

// The distribution list's selection and order ("Atualizar").
struct DistributionFilter {
    std::optional<QString> municipality;
    std::optional<int> year;
    std::optional<int> month;
    int order = -1; // -1 none, 0 origin, 1 reference, 2 year/month
};
Statement distributionListing(const DistributionFilter& filter);

// The movement consultation: the listing and its three counts.
struct MovementFilter {
    std::optional<qint64> number;
    std::optional<QString> municipality;
    bool byOrigin = true; // the municipality column that filters and orders
    std::optional<int> year;
    std::optional<int> month;
};
struct MovementStatements {
    Statement listing;
    Statement total;
    Statement used;
    Statement unused;
};
MovementStatements movementConsultation(const MovementFilter& filter);

// --- database work --------------------------------------------------------

struct ForecastBlock {
    int year = 0;
    QString municipality;
    qint64 first = 0;
    int firstDigit = 0;
    qint64 last = 0;
    int lastDigit = 0;
};

// Does [first, last] share a number with any forecast block of any year or municipality?
bool forecastOverlaps(DataModule& dm, qint64 first, qint64 last);
// Has any number of [first, last] a movement row, and one that was written off?
bool anyDistributed(DataModule& dm, qint64 first, qint64 last);
bool anyWrittenOff(DataModule& dm, qint64 first, qint64 last);
db::WriteResult insertForecast(DataModule& dm, const ForecastBlock& block);
db::WriteResult deleteForecast(DataModule& dm, const ForecastBlock& block);

struct Distribution {
    QString reference;
    int year = 0;
    int month = 0;
    QString origin;
    qint64 first = 0;
    int firstDigit = 0;
    qint64 last = 0;
    int lastDigit = 0;
    QString type; // "E" or "U"
};

// Is [first, last] wholly inside one forecast block of the reference municipality?
bool insideForecast(DataModule& dm, const QString& reference, qint64 first, qint64 last);
bool distributionExists(DataModule& dm, const Distribution& d);

// Called as the expansion goes; returning false cancels it.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Writes the distribution and one movement row per number, in one
// transaction: all of it, or nothing. The engine generates the movement rows
// itself, a chunk of numbers per request (one round trip over a network).
db::WriteResult saveDistribution(DataModule& dm, const Distribution& d, const Progress& progress = {});
// The statement that generates movement rows inside the server: parameters
// MUNREF, ANOCOMP, MESCOMP, MUNORIG, TIPO, first and last number.
extern const char* const kGeneratedExpansion;
// The movement rows alone, on the given query, inside the caller's transaction.
void expandMovements(db::Query& query, const Distribution& d, const Progress& progress = {});
db::WriteResult deleteDistribution(DataModule& dm, const Distribution& d);

// A proposal [first, last] of `quantity` free numbers: past the highest
// distributed number of the first forecast block (ascending INICIAL) of the
// reference municipality whose year and category digits match and which
// still has that many free numbers at its end.
std::optional<std::pair<qint64, qint64>> proposeRange(DataModule& dm, const QString& reference, int year,
                                                      int category, qint64 quantity);

} // namespace talvera::ranges
