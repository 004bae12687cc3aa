#pragma once
// Rules of the laudo (AIH request form) and the statements its forms send:
// plain functions over the data module, testable without a window.

#include "core/firebird.h"

#include <QDate>
#include <QString>
#include <QVariantList>

#include <functional>
#include <optional>

namespace talvera {
class DataModule;
}

namespace talvera::laudos {

using db::Statement;

using db::openStatement;

// What the laudo form's mode marker says: a new laudo ("I") or a change ("A").
enum class Mode { None, Insert, Change };

// The four columns that identify a laudo.
struct LaudoKey {
    int folha = 0;
    int sequencia = 0;
    int mes = 0;
    int ano = 0;
};

// A laudo as the form holds it.
struct Laudo {
    LaudoKey key;
    QString cnes;          // empty: no provider chosen
    QString aih;           // the typed digits of the AIH number
    int dv = 0;
    int mesLib = 0;
    int anoLib = 0;
    QString paciente;
    QDate nascimento;      // invalid: left empty
    int sexo = -1;         // -1 none, 0 "Masculino", 1 "Feminino"
    QString carater;       // codes of the chosen rows; empty: none
    QString especialidade;
    QString procedimento;
    QString cpfSolicita;   // the 11 typed digits
    QString cpfAutoriza;
    QString munOrig;
    QString observ;
    QString munIntern;
    double valorMedio = 0;
};

// The stored value of the sex: 1 for "Masculino", 3 for anything else.
int storedSex(int itemIndex);
// The item of a stored sex: 1 is "Masculino", 3 "Feminino", anything else none.
int sexItem(const QVariant& stored);

// The highest sequence of the sheet plus one (1 for an empty sheet); nothing
// when the sheet already reached sequence 20.
std::optional<int> proposeSequence(DataModule& dm, int folha, int ano, int mes);
QString fullSheet();

// True when another laudo of the sheet and competence has another provider.
bool sheetHasOtherProvider(DataModule& dm, const LaudoKey& key, const QString& cnes);
QString otherProvider();

// Code (CODMUN) and name of the municipality that manages a provider, found
// by the municipality code without check digit; nothing when MUN lacks it.
struct Municipality {
    QString code;
    QString name;
};
std::optional<Municipality> managingMunicipality(DataModule& dm, const QString& codmungest);
// Name of a municipality by its code; empty when unknown.
QString municipalityName(DataModule& dm, const QString& codmun);
// NOME_PROF of a CPF; nothing when PROFISSIONAL lacks it.
std::optional<QString> professionalName(DataModule& dm, const QString& cpf);

// The AIH number as the checks read it: the typed digits as an integer.
std::optional<qint64> aihNumber(const QString& digits);
QString missingAih();

// Check digit and distribution of the number: the first failing rule's
// message, or empty when the number passes.
QString checkDistributed(DataModule& dm, qint64 number, int dv);
// Check digit, distribution and write-off of the number, in that order; the
// first failing rule's message, or empty when the number passes. Run as a
// warning on leaving the check digit and again by the save.
QString checkNumber(DataModule& dm, qint64 number, int dv, int mesLib, int anoLib);

// The save's checks in their order. `ask` puts a Yes/No question to the
// operator. A refusal carries its message; an operator's No carries none.
struct SaveCheck {
    bool passed = true;
    QString message;
};
SaveCheck checkSave(DataModule& dm, const Laudo& laudo, Mode mode, const std::function<bool(const QString&)>& ask);

// The insert and update statements with their parameters by position.
Statement insertStatement(const Laudo& laudo);
Statement updateStatement(const Laudo& laudo);
// Writes the laudo in one transaction of Vorq's connection.
db::WriteResult saveLaudo(DataModule& dm, const Laudo& laudo, Mode mode);

// Deletes the laudo and, when it was not the sheet's last, moves the sheet's
// last laudo into the freed sequence: both in one transaction.
db::WriteResult deleteLaudo(DataModule& dm, const LaudoKey& key);

// The browsing filter: each condition present is appended in this order.
struct LaudoFilter {
    std::optional<QString> cnes;
    std::optional<std::pair<int, int>> competence; // year, month
    std::optional<int> folha;
    std::optional<QString> aih;                    // the typed digits; empty finds nothing
    int order = -1;                                // item of "Ordenação"; -1 none
};
Statement laudoFilter(const LaudoFilter& filter);
QStringList filterOrders();

// The laudos of one competence month for the listing, by sheet and sequence.
struct ListingSelection {
    int ano = 0;
    int mes = 0;
    std::optional<QString> cnes;
    std::optional<int> folha;
};
Statement laudoListing(const ListingSelection& selection);

// The stored laudos holding a number, for printing one laudo.
Statement laudoToPrint(const QString& aihDigits);

// The competence month of laudo entry (PARAME).
struct Competence {
    int mes = 0;
    int ano = 0;
};
std::optional<Competence> storedCompetence(DataModule& dm);
// Stores it; creates PARAME's row when the table has none.
db::WriteResult storeCompetence(DataModule& dm, const Competence& competence);

} // namespace talvera::laudos
