#pragma once
// The data module: the program's four Firebird connections, their
// transactions, the general-purpose queries and every named dataset. Forms own
// no database objects; they reach these by name.

#include "core/config.h"
#include "core/dataset.h"

#include <map>
#include <memory>

namespace talvera {

class DataModule {
public:
    DataModule(Edition edition, BuildSettings build = BuildSettings::fromBuild(),
               QString configFile = QStringLiteral("CONFIGBD.TXT"));
    ~DataModule();
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;

    Edition edition() const { return edition_; }
    const BuildSettings& build() const { return build_; }
    RunSettings settings;

    // Connections; each owns its one transaction.
    db::Database dbAih;     // main database, or the archive while a consultation has it
    db::Database dbMun;     // parameter database
    db::Database dbVorqwin; // Vorq's database
    db::Database dbImport;  // a Vorq database chosen for an import
    db::Transaction& trAih() { return dbAih.transaction(); }
    db::Transaction& trMun() { return dbMun.transaction(); }
    db::Transaction& trVorqwin() { return dbVorqwin.transaction(); }
    db::Transaction& trImport() { return dbImport.transaction(); }

    // General-purpose queries: the caller sets the SQL and the parameters.
    db::Query quConsulta{dbAih, QStringLiteral("quConsulta")};
    db::Query quConsulta2{dbAih, QStringLiteral("quConsulta2")};
    db::Query quConsulta3{dbAih, QStringLiteral("quConsulta3")};
    db::Query quAtualiza{dbAih, QStringLiteral("quAtualiza")};
    db::Query quAtualiza2{dbAih, QStringLiteral("quAtualiza2")};
    db::Query quAltmun{dbMun, QStringLiteral("quAltmun")};
    db::Query quConsvorq{dbVorqwin, QStringLiteral("quConsvorq")};
    db::Query quAtualvorq{dbVorqwin, QStringLiteral("quAtualvorq")};
    db::Query quBaixawin{dbImport, QStringLiteral("quBaixawin")};

    // Named datasets (quMun, tbParam, tabelamun, tbMunvorq, quTabmun, quAnual, ...).
    db::Dataset& dataset(const QString& name);
    db::Dataset* findDataset(const QString& name);
    QStringList datasetNames() const;

    // Switches the main connection to the archive (true) or the main database:
    // closing it commits its work and closes its datasets.
    void switchMainDatabase(bool archive);
    bool onArchive() const { return onArchive_; }

    // Closes every connection, committing what is pending (or, for work
    // abandoned half-way, undoing it). Every connection is closed even when
    // one fails; the failures are reported together in one DatabaseError.
    void closeAll(bool commit = true);

private:
    void beforeConnect();
    void buildCatalogue();
    db::Dataset& add(db::Database& db, const QString& name, QStringList sql,
                     std::vector<db::FieldDef> fields, const QString& dataSource = {});

    Edition edition_;
    BuildSettings build_;
    QString configFile_;
    bool onArchive_ = false;
    std::map<QString, std::unique_ptr<db::Dataset>> datasets_;
    std::vector<db::Dataset*> order_;
    std::unique_ptr<db::Query> etiqNames_; // municipalities of a label's number
};

} // namespace talvera
