#pragma once
// A thin layer over Firebird's object-oriented client API: a connection with
// name=value parameters and a before-connect hook, its one transaction with
// commit and rollback retaining, and queries with positional parameters.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace Firebird {
class IAttachment;
class ITransaction;
class IStatement;
class IResultSet;
class IMessageMetadata;
} // namespace Firebird

namespace talvera::db {

// Any failure of the database layer, with a Portuguese message for the operator.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

// Thrown by work that the operator cancelled; the write helper rolls it back.
class Cancelled : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

class Database;
class Query;

class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void start();
    bool active() const { return handle_ != nullptr; }
    void commit();
    void rollback();
    void commitRetaining();
    void rollbackRetaining();

    Database& database() { return db_; }
    Firebird::ITransaction* handle() const { return handle_; }

private:
    friend class Query;
    friend class Database;
    void startedBy(Query* q);
    void queryClosed(Query* q);
    void closeCursors();

    Database& db_;
    Firebird::ITransaction* handle_ = nullptr;
    Query* starter_ = nullptr; // the query that started it implicitly, if any
};

class Database {
public:
    explicit Database(QString componentName = {});
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& componentName() const { return componentName_; }

    // "host:path" goes to a server; a plain path opens the file in-process.
    void setDatabaseName(const QString& name) { name_ = name; }
    const QString& databaseName() const { return name_; }

    // name=value lines; names compare without regard to case.
    void setParams(const QStringList& lines) { params_ = lines; }
    const QStringList& params() const { return params_; }
    QString param(const QString& name) const;
    void setParam(const QString& name, const QString& value);

    // Runs before every attempt to connect; may change the name and parameters.
    std::function<void(Database&)> beforeConnect;

    void open();
    // Closes every query, commits the active transaction, then detaches.
    void close();
    // The same, undoing the active transaction: for work abandoned half-way.
    void abandon();
    bool connected() const { return attachment_ != nullptr; }
    // True when the name reaches a server over the network ("host:path").
    bool isRemote() const;

    Transaction& transaction() { return transaction_; }
    Firebird::IAttachment* attachment() const { return attachment_; }

    // Creates an empty database file (dialect 3) with the given default character set.
    // Forced writes off trades crash safety for speed: for scratch files only.
    static void create(const QString& path, const QString& password,
                       const QString& charset = QStringLiteral("WIN1252"), bool forcedWrites = true);

private:
    friend class Query;
    friend class Transaction;
    void detachAll(bool commit);
    void attach(Query* q) { queries_.push_back(q); }
    void detach(Query* q);

    QString componentName_;
    QString name_;
    QStringList params_{QStringLiteral("user_name=SYSDBA")};
    Firebird::IAttachment* attachment_ = nullptr;
    Transaction transaction_;
    std::vector<Query*> queries_;
};

// A statement's text with its parameters in binding order.
struct Statement {
    QString sql;
    QVariantList params;
};

// Column description of an open result.
struct Column {
    QString name;
    unsigned type = 0;
    int subType = 0;
    int scale = 0;
    unsigned length = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
};

class Query {
public:
    explicit Query(Database& db, QString componentName = {});
    virtual ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    const QString& componentName() const { return componentName_; }
    Database& database() { return db_; }

    // SQL text, as lines.
    void clearSql();
    void addLine(const QString& line);
    void setSql(const QString& sql);
    const QStringList& sqlLines() const { return lines_; }
    QString sqlText() const { return lines_.join(u'\n'); }

    // With parameter check off the text is sent as it is ("?" only); needed for
    // EXECUTE BLOCK bodies, whose ":variables" belong to the block. It holds for
    // the current text only: clearSql() and setSql() turn it back on.
    void setParamCheck(bool on) { paramCheck_ = on; sqlChanged_ = true; }

    // Parameter n is the n-th ":name" of the text, whatever its name. Values:
    // text, int, 64-bit int, double, date, or null (invalid QVariant).
    void setParam(int index, const QVariant& value);
    void clearParams() { params_.clear(); }
    int paramCount() const;

    // Closes the query, puts in the statement and its parameters, and prepares it.
    void setStatement(const QString& sql, const QVariantList& params = {});

    // A no-op while the text is unchanged since the last prepare.
    void prepare();
    bool prepared() const { return statement_ != nullptr; }

    // A select opens a cursor on its first row; anything else is executed.
    virtual void open();
    void execSql();
    virtual void close();
    bool isOpen() const { return open_; }
    virtual bool eof() const { return eof_; }
    virtual void next();

    int columnCount() const { return static_cast<int>(columns_.size()); }
    const std::vector<Column>& columns() const { return columns_; }
    int columnIndex(const QString& name) const; // -1 when absent
    QVariant value(int column) const;
    QVariant value(const QString& column) const;

protected:
    // Reads the next row into the current values; false at end of data.
    bool fetchRow();

private:
    friend class Transaction;
    friend class Database;
    void ensureReady();
    void releaseStatement();
    void closeCursor();
    void buildInput();
    void describeOutput();
    void decodeRow();

    Database& db_;
    QString componentName_;
    QStringList lines_;
    bool paramCheck_ = true;
    std::vector<QVariant> params_;

    QString preparedText_;
    Firebird::IStatement* statement_ = nullptr;
    Firebird::IMessageMetadata* statementInput_ = nullptr;
    std::vector<unsigned> targetTypes_; // column types the statement expects
    Firebird::IMessageMetadata* input_ = nullptr;
    std::vector<unsigned> inputShape_;   // kinds and text sizes the input layout was built for
    std::vector<unsigned> shapeScratch_;
    std::vector<char> kindsScratch_;
    std::vector<QByteArray> texts_;      // UTF-8 of the text parameters
    std::vector<QString> textSources_;   // the texts they were encoded from
    bool sqlChanged_ = true;
    unsigned flags_ = 0;
    Firebird::IMessageMetadata* statementOutput_ = nullptr; // of statements without a cursor
    std::vector<unsigned char> singletonBuffer_;
    std::vector<unsigned char> inputBuffer_;
    std::vector<std::pair<unsigned, unsigned>> inputOffsets_; // value and null offsets

    Firebird::IMessageMetadata* output_ = nullptr;
    std::vector<unsigned char> outputBuffer_;
    std::vector<Column> columns_;
    std::vector<QVariant> row_;
    std::vector<std::string> lastText_; // raw text of the previous row, per column
    Firebird::IResultSet* cursor_ = nullptr;
    bool open_ = false;
    bool eof_ = true;
};

// Puts the statement into the query and opens it.
void openStatement(Query& query, const Statement& statement);

// The write convention: start the transaction if needed, run the work, commit
// with retaining; on any error roll back with retaining and report it.
struct WriteResult {
    bool ok = true;
    QString error;
    bool cancelled = false;
    explicit operator bool() const { return ok; }
};
WriteResult guardedWrite(Transaction& tr, const std::function<void()>& work);

// The Firebird engine this process runs its local databases in.
namespace engine {
// Ends the engine once every connection is closed: its threads stop and the
// machine-wide lock files are released. Later calls do nothing.
void shutdown();
bool isShutDown();
// Keeps a handler of the program's own in charge of a signal. The client
// library installs handlers at its first attachment that shut the engine down
// under the program's feet; these are put back after every attachment.
void keepSignalHandler(int signal, void (*handler)(int));
} // namespace engine

} // namespace talvera::db
