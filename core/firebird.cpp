#include "core/firebird.h"

#include "core/sqltext.h"

#include <firebird/Interface.h>

#include <QDateTime>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include <signal.h>

using namespace Firebird;

namespace talvera::db {

namespace {

IMaster* master()
{
    static IMaster* m = fb_get_master_interface();
    return m;
}

// Firebird's character set number for UTF8: every text goes in and out as UTF-8.
constexpr unsigned kUtf8CharSet = 4;

QString statusText(const FbException& e)
{
    char buffer[2048];
    master()->getUtilInterface()->formatStatus(buffer, sizeof(buffer), e.getStatus());
    return QString::fromUtf8(buffer).trimmed();
}

// Runs a block with a throwing status wrapper and turns failures into
// DatabaseError. One status object per thread is reused: allocating one per
// call shows in tight insert loops.
template <class F>
auto call(const QString& what, F&& f) -> decltype(f(std::declval<ThrowStatusWrapper&>()))
{
    thread_local IStatus* shared = master()->getStatus();
    shared->init();
    ThrowStatusWrapper status(shared);
    try {
        return f(status);
    } catch (const FbException& e) {
        const QString text = statusText(e);
        shared->init();
        throw DatabaseError(what.isEmpty() ? text : what + QStringLiteral(":\n") + text);
    }
}

unsigned baseType(unsigned type) { return type & ~1u; }

bool isNumericOrDate(unsigned type)
{
    switch (baseType(type)) {
    case SQL_SHORT: case SQL_LONG: case SQL_INT64: case SQL_FLOAT: case SQL_DOUBLE:
    case SQL_D_FLOAT: case SQL_TYPE_DATE: case SQL_TIMESTAMP: case SQL_TYPE_TIME:
    case SQL_BOOLEAN:
        return true;
    default:
        return false;
    }
}

QString connectionLabel(const QString& name)
{
    return QStringLiteral("Não foi possível conectar ao banco de dados \"%1\"").arg(name);
}

std::string dbParam(const QStringList& params, const QString& name)
{
    for (const QString& line : params) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && line.left(eq).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).toStdString();
    }
    return {};
}

// "Database already opened with engine instance, incompatible with current":
// another process holds the file in its own embedded engine.
constexpr ISC_STATUS kAlreadyOpened = 335545107;

bool hasError(const IStatus* status, ISC_STATUS code)
{
    for (const ISC_STATUS* v = status->getErrors(); v && *v != isc_arg_end;) {
        const ISC_STATUS kind = *v++;
        if (kind == isc_arg_gds && *v == code)
            return true;
        ++v; // every argument kind is followed by one value, except the interpreted string
        if (kind == isc_arg_cstring)
            ++v;
    }
    return false;
}

struct KeptHandler {
    int signal;
    void (*handler)(int);
};
std::vector<KeptHandler>& keptHandlers()
{
    static std::vector<KeptHandler> handlers;
    return handlers;
}

void installKeptHandlers()
{
    for (const KeptHandler& kept : keptHandlers()) {
        struct sigaction action {};
        action.sa_handler = kept.handler;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(kept.signal, &action, nullptr);
    }
}

bool engineDown = false;

// Param values in the form the input message carries them.
enum class Slot : char { Null = 'n', Text = 't', Int = 'i', Double = 'd', Date = 'a', Stamp = 's' };

} // namespace

DatabaseError::DatabaseError(const QString& message) : std::runtime_error(message.toStdString()) {}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Database& db) : db_(db) {}

Transaction::~Transaction()
{
    if (handle_) {
        try {
            rollback();
        } catch (...) {
        }
    }
}

void Transaction::start()
{
    if (handle_)
        return;
    if (!db_.connected())
        db_.open();
    handle_ = call(QStringLiteral("Erro ao iniciar a transação"), [&](ThrowStatusWrapper& st) {
        return db_.attachment()->startTransaction(&st, 0, nullptr);
    });
    starter_ = nullptr;
}

void Transaction::startedBy(Query* q) { starter_ = q; }

void Transaction::closeCursors()
{
    for (Query* q : db_.queries_)
        q->closeCursor();
}

void Transaction::commit()
{
    if (!handle_)
        return;
    closeCursors();
    call(QStringLiteral("Erro ao gravar a transação"),
         [&](ThrowStatusWrapper& st) { handle_->commit(&st); });
    handle_ = nullptr;
    starter_ = nullptr;
}

void Transaction::rollback()
{
    if (!handle_)
        return;
    closeCursors();
    call(QStringLiteral("Erro ao desfazer a transação"),
         [&](ThrowStatusWrapper& st) { handle_->rollback(&st); });
    handle_ = nullptr;
    starter_ = nullptr;
}

void Transaction::commitRetaining()
{
    if (!handle_)
        start();
    call(QStringLiteral("Erro ao gravar a transação"),
         [&](ThrowStatusWrapper& st) { handle_->commitRetaining(&st); });
}

void Transaction::rollbackRetaining()
{
    if (!handle_)
        return;
    call(QStringLiteral("Erro ao desfazer a transação"),
         [&](ThrowStatusWrapper& st) { handle_->rollbackRetaining(&st); });
}

// A transaction that a query started by itself ends, committed, when that query
// closes while no other query of the connection still has a cursor open.
void Transaction::queryClosed(Query* q)
{
    if (!handle_ || starter_ != q)
        return;
    for (Query* other : db_.queries_) {
        if (other->isOpen())
            return;
    }
    commit();
}

// ------------------------------------------------------------------- Database

Database::Database(QString componentName)
    : componentName_(std::move(componentName)), transaction_(*this)
{
}

Database::~Database()
{
    try {
        close();
    } catch (...) {
        // Nothing sensible to report while tearing down.
    }
    for (Query* q : queries_)
        q->releaseStatement();
}

QString Database::param(const QString& name) const
{
    return QString::fromStdString(dbParam(params_, name));
}

void Database::setParam(const QString& name, const QString& value)
{
    for (QString& line : params_) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && line.left(eq).trimmed().compare(name, Qt::CaseInsensitive) == 0) {
            line = line.left(eq + 1) + value;
            return;
        }
    }
    params_ << name.toLower() + u'=' + value;
}

void Database::open()
{
    if (connected())
        return;
    if (beforeConnect)
        beforeConnect(*this);
    const QString name = name_;
    if (name.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("O banco de dados %1 não tem nome definido").arg(componentName_));
    attachment_ = call(connectionLabel(name), [&](ThrowStatusWrapper& st) {
        IXpbBuilder* dpb = master()->getUtilInterface()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
        std::string user = dbParam(params_, QStringLiteral("user_name"));
        if (user.empty())
            user = "SYSDBA";
        dpb->insertString(&st, isc_dpb_user_name, user.c_str());
        const std::string password = dbParam(params_, QStringLiteral("password"));
        if (!password.empty())
            dpb->insertString(&st, isc_dpb_password, password.c_str());
        dpb->insertString(&st, isc_dpb_lc_ctype, "UTF8");
        const QByteArray file = name.toUtf8();
        IAttachment* att = nullptr;
        try {
            att = master()->getDispatcher()->attachDatabase(&st, file.constData(),
                                                            dpb->getBufferLength(&st),
                                                            dpb->getBuffer(&st));
        } catch (const FbException& e) {
            dpb->dispose();
            if (hasError(e.getStatus(), kAlreadyOpened))
                throw DatabaseError(QStringLiteral("Os bancos de dados estão em uso por outra cópia do programa "
                                                   "neste computador (\"%1\"). Feche a outra cópia e tente de novo.")
                                        .arg(name));
            throw;
        } catch (...) {
            dpb->dispose();
            throw;
        }
        dpb->dispose();
        return att;
    });
    installKeptHandlers();
}

bool Database::isRemote() const
{
    const qsizetype colon = name_.indexOf(u':');
#ifdef Q_OS_WIN
    return colon > 1; // "C:\\..." is a drive letter
#else
    return colon > 0;
#endif
}

void Database::close()
{
    detachAll(true);
}

void Database::abandon()
{
    detachAll(false);
}

void Database::detachAll(bool commit)
{
    if (!attachment_)
        return;
    // The transaction ends below, once, whichever query started it.
    transaction_.starter_ = nullptr;
    for (Query* q : queries_)
        q->close();
    // Whatever happens to the transaction, the connection goes: a failed
    // commit is reported after the detach, and nothing is left half-open.
    QString failure;
    try {
        if (commit)
            transaction_.commit();
        else
            transaction_.rollback();
    } catch (const DatabaseError& e) {
        failure = e.message();
        try {
            transaction_.rollback();
        } catch (const DatabaseError&) {
        }
    }
    for (Query* q : queries_)
        q->releaseStatement();
    IAttachment* attachment = std::exchange(attachment_, nullptr);
    try {
        call(QStringLiteral("Erro ao desconectar o banco de dados \"%1\"").arg(name_),
             [&](ThrowStatusWrapper& st) { attachment->detach(&st); });
    } catch (const DatabaseError& e) {
        // A failed detach leaves the interface with us: let it go.
        attachment->release();
        failure += (failure.isEmpty() ? QString() : QStringLiteral("\n")) + e.message();
    }
    if (!failure.isEmpty())
        throw DatabaseError(failure);
}

void Database::detach(Query* q)
{
    queries_.erase(std::remove(queries_.begin(), queries_.end(), q), queries_.end());
}

void Database::create(const QString& path, const QString& password, const QString& charset,
                      bool forcedWrites)
{
    call(QStringLiteral("Não foi possível criar o banco de dados \"%1\"").arg(path), [&](ThrowStatusWrapper& st) {
        IXpbBuilder* dpb = master()->getUtilInterface()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
        dpb->insertString(&st, isc_dpb_user_name, "SYSDBA");
        dpb->insertString(&st, isc_dpb_password, password.toStdString().c_str());
        dpb->insertString(&st, isc_dpb_lc_ctype, "UTF8");
        dpb->insertString(&st, isc_dpb_set_db_charset, charset.toStdString().c_str());
        dpb->insertInt(&st, isc_dpb_sql_dialect, 3);
        dpb->insertInt(&st, isc_dpb_page_size, 8192);
        if (!forcedWrites)
            dpb->insertInt(&st, isc_dpb_force_write, 0);
        const QByteArray file = path.toUtf8();
        IAttachment* att = master()->getDispatcher()->createDatabase(
            &st, file.constData(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
        dpb->dispose();
        att->detach(&st);
    });
}

// ---------------------------------------------------------------------- Query

Query::Query(Database& db, QString componentName) : db_(db), componentName_(std::move(componentName))
{
    db_.attach(this);
}

Query::~Query()
{
    try {
        close();
    } catch (...) {
    }
    releaseStatement();
    db_.detach(this);
}

// A new text starts with the parameter check on: turning it off belongs to
// the one text that needs it, never to the next statement of the query.
void Query::clearSql()
{
    lines_.clear();
    paramCheck_ = true;
    sqlChanged_ = true;
}

void Query::addLine(const QString& line)
{
    lines_ << line;
    sqlChanged_ = true;
}

void Query::setSql(const QString& sql)
{
    lines_ = sql.split(u'\n');
    paramCheck_ = true;
    sqlChanged_ = true;
}

void Query::setParam(int index, const QVariant& value)
{
    if (index < 0)
        return;
    if (static_cast<size_t>(index) >= params_.size())
        params_.resize(static_cast<size_t>(index) + 1);
    params_[static_cast<size_t>(index)] = value;
}

void Query::setStatement(const QString& sql, const QVariantList& params)
{
    close();
    clearSql();
    addLine(sql);
    clearParams();
    for (int i = 0; i < params.size(); ++i)
        setParam(i, params.at(i));
    prepare();
}

int Query::paramCount() const
{
    if (statement_ && statementInput_)
        return static_cast<int>(targetTypes_.size());
    return paramCheck_ ? static_cast<int>(toPositional(sqlText()).parameters.size())
                       : static_cast<int>(sqlText().count(u'?'));
}

void Query::releaseStatement()
{
    closeCursor();
    if (input_) { input_->release(); input_ = nullptr; }
    if (output_) { output_->release(); output_ = nullptr; }
    if (statementInput_) { statementInput_->release(); statementInput_ = nullptr; }
    if (statementOutput_) { statementOutput_->release(); statementOutput_ = nullptr; }
    if (statement_) {
        IStatus* st = master()->getStatus();
        CheckStatusWrapper status(st);
        statement_->free(&status);
        status.dispose();
        statement_ = nullptr;
    }
    inputShape_.clear();
    preparedText_.clear();
    sqlChanged_ = true;
}

void Query::ensureReady()
{
    if (!db_.connected())
        db_.open();
    Transaction& tr = db_.transaction();
    if (!tr.active()) {
        tr.start();
        tr.startedBy(this);
    }
}

void Query::prepare()
{
    if (statement_ && !sqlChanged_)
        return;
    const QString text = paramCheck_ ? toPositional(sqlText()).text : sqlText();
    sqlChanged_ = false;
    if (statement_ && text == preparedText_)
        return;
    close();
    releaseStatement();
    ensureReady();
    const QByteArray utf8 = text.toUtf8();
    statement_ = call(QStringLiteral("Erro no comando SQL"), [&](ThrowStatusWrapper& st) {
        return db_.attachment()->prepare(&st, db_.transaction().handle(), 0, utf8.constData(),
                                         SQL_DIALECT_V6, IStatement::PREPARE_PREFETCH_METADATA);
    });
    preparedText_ = text;
    call(QStringLiteral("Erro no comando SQL"), [&](ThrowStatusWrapper& st) {
        statementInput_ = statement_->getInputMetadata(&st);
        const unsigned count = statementInput_->getCount(&st);
        targetTypes_.resize(count);
        for (unsigned i = 0; i < count; ++i)
            targetTypes_[i] = baseType(statementInput_->getType(&st, i));
        flags_ = statement_->getFlags(&st);
        if (!(flags_ & IStatement::FLAG_HAS_CURSOR)) {
            // Statements that return one row (EXECUTE BLOCK with RETURNS, RETURNING).
            statementOutput_ = statement_->getOutputMetadata(&st);
            if (statementOutput_->getCount(&st) > 0)
                singletonBuffer_.assign(statementOutput_->getMessageLength(&st), 0);
            else
                singletonBuffer_.clear();
        }
    });
}

// Builds an input message shaped after the values given, so the engine coerces
// them to the column types; the message layout is rebuilt only when the kinds
// or text sizes of the values change.
void Query::buildInput()
{
    const size_t count = targetTypes_.size();
    std::vector<char>& kinds = kindsScratch_;
    kinds.assign(count, static_cast<char>(Slot::Null));
    std::vector<QByteArray>& texts = texts_;
    texts.resize(count);
    textSources_.resize(count);
    // Each slot's shape: its kind, and for text the capacity of its layout.
    std::vector<unsigned>& shape = shapeScratch_;
    shape.assign(count, 0);
    for (size_t i = 0; i < count; ++i) {
        static const QVariant none;
        const QVariant& v = i < params_.size() ? params_[i] : none;
        Slot slot = Slot::Null;
        if (v.isValid() && !v.isNull()) {
            switch (v.typeId()) {
            case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong:
            case QMetaType::ULongLong: case QMetaType::Short: case QMetaType::UShort:
            case QMetaType::Long: case QMetaType::ULong: case QMetaType::Bool:
                slot = Slot::Int;
                break;
            case QMetaType::Double: case QMetaType::Float:
                slot = Slot::Double;
                break;
            case QMetaType::QDate:
                slot = Slot::Date;
                break;
            case QMetaType::QDateTime:
                slot = Slot::Stamp;
                break;
            default: {
                const QString s = v.toString();
                // Empty text into a numeric or date parameter is null.
                if (!(s.trimmed().isEmpty() && isNumericOrDate(targetTypes_[i]))) {
                    slot = Slot::Text;
                    // Loops rebind the same codes row after row: encode only a changed text.
                    if (textSources_[i] != s) {
                        textSources_[i] = s;
                        texts[i] = s.toUtf8();
                    }
                }
            }
            }
        }
        kinds[i] = static_cast<char>(slot);
        shape[i] = static_cast<unsigned>(slot);
        if (slot == Slot::Text) {
            // Text slots grow in steps so that similar values share one layout.
            unsigned cap = 32;
            while (cap < static_cast<unsigned>(texts[i].size()))
                cap *= 2;
            shape[i] |= cap << 8;
        }
    }

    if (!input_ || shape != inputShape_) {
        if (input_) {
            input_->release();
            input_ = nullptr;
        }
        call(QStringLiteral("Erro nos parâmetros do comando"), [&](ThrowStatusWrapper& st) {
            IMetadataBuilder* b = master()->getMetadataBuilder(&st, static_cast<unsigned>(count));
            for (unsigned i = 0; i < count; ++i) {
                switch (static_cast<Slot>(kinds[i])) {
                case Slot::Null:
                    // A null keeps the statement's own description.
                    b->setType(&st, i, statementInput_->getType(&st, i) | 1u);
                    b->setSubType(&st, i, statementInput_->getSubType(&st, i));
                    b->setLength(&st, i, statementInput_->getLength(&st, i));
                    b->setScale(&st, i, statementInput_->getScale(&st, i));
                    b->setCharSet(&st, i, statementInput_->getCharSet(&st, i));
                    break;
                case Slot::Text:
                    b->setType(&st, i, SQL_VARYING | 1u);
                    b->setLength(&st, i, shape[i] >> 8);
                    b->setCharSet(&st, i, kUtf8CharSet);
                    break;
                case Slot::Int:
                    b->setType(&st, i, SQL_INT64 | 1u);
                    b->setLength(&st, i, sizeof(ISC_INT64));
                    b->setScale(&st, i, 0);
                    break;
                case Slot::Double:
                    b->setType(&st, i, SQL_DOUBLE | 1u);
                    b->setLength(&st, i, sizeof(double));
                    break;
                case Slot::Date:
                    b->setType(&st, i, SQL_TYPE_DATE | 1u);
                    b->setLength(&st, i, sizeof(ISC_DATE));
                    break;
                case Slot::Stamp:
                    b->setType(&st, i, SQL_TIMESTAMP | 1u);
                    b->setLength(&st, i, sizeof(ISC_TIMESTAMP));
                    break;
                }
            }
            input_ = b->getMetadata(&st);
            b->release();
            inputBuffer_.assign(input_->getMessageLength(&st), 0);
            inputOffsets_.resize(count);
            for (unsigned i = 0; i < count; ++i)
                inputOffsets_[i] = {input_->getOffset(&st, i), input_->getNullOffset(&st, i)};
        });
        inputShape_ = shape;
    }

    IUtil* util = master()->getUtilInterface();
    unsigned char* buf = inputBuffer_.data();
    for (size_t i = 0; i < count; ++i) {
        auto* null = reinterpret_cast<short*>(buf + inputOffsets_[i].second);
        unsigned char* data = buf + inputOffsets_[i].first;
        *null = static_cast<Slot>(kinds[i]) == Slot::Null ? -1 : 0;
        const QVariant& v = params_.size() > i ? params_[i] : QVariant();
        switch (static_cast<Slot>(kinds[i])) {
        case Slot::Null:
            break;
        case Slot::Text: {
            const QByteArray& t = texts[i];
            const auto len = static_cast<unsigned short>(t.size());
            std::memcpy(data, &len, sizeof(len));
            std::memcpy(data + sizeof(len), t.constData(), len);
            break;
        }
        case Slot::Int: {
            const ISC_INT64 n = v.toLongLong();
            std::memcpy(data, &n, sizeof(n));
            break;
        }
        case Slot::Double: {
            const double d = v.toDouble();
            std::memcpy(data, &d, sizeof(d));
            break;
        }
        case Slot::Date: {
            const QDate d = v.toDate();
            const ISC_DATE enc = util->encodeDate(static_cast<unsigned>(d.year()),
                                                  static_cast<unsigned>(d.month()),
                                                  static_cast<unsigned>(d.day()));
            std::memcpy(data, &enc, sizeof(enc));
            break;
        }
        case Slot::Stamp: {
            const QDateTime dt = v.toDateTime();
            ISC_TIMESTAMP ts;
            ts.timestamp_date = util->encodeDate(static_cast<unsigned>(dt.date().year()),
                                                 static_cast<unsigned>(dt.date().month()),
                                                 static_cast<unsigned>(dt.date().day()));
            const QTime t = dt.time();
            ts.timestamp_time = util->encodeTime(static_cast<unsigned>(t.hour()),
                                                 static_cast<unsigned>(t.minute()),
                                                 static_cast<unsigned>(t.second()),
                                                 static_cast<unsigned>(t.msec() * 10));
            std::memcpy(data, &ts, sizeof(ts));
            break;
        }
        }
    }
}

void Query::describeOutput()
{
    columns_.clear();
    if (output_) {
        output_->release();
        output_ = nullptr;
    }
    call(QStringLiteral("Erro ao ler o resultado"), [&](ThrowStatusWrapper& st) {
        IMessageMetadata* meta = statement_->getOutputMetadata(&st);
        const unsigned count = meta->getCount(&st);
        // Ask for the values in a few plain forms; the engine converts the rest.
        IMetadataBuilder* b = meta->getBuilder(&st);
        for (unsigned i = 0; i < count; ++i) {
            const unsigned t = baseType(meta->getType(&st, i));
            if (t == SQL_TEXT) {
                b->setType(&st, i, SQL_VARYING | 1u);
            } else if (t == SQL_BLOB) {
                // Text blobs are read as text of a generous size.
                b->setType(&st, i, SQL_VARYING | 1u);
                b->setLength(&st, i, 32000);
                b->setCharSet(&st, i, kUtf8CharSet);
            } else if (t == SQL_FLOAT || t == SQL_D_FLOAT) {
                b->setType(&st, i, SQL_DOUBLE | 1u);
                b->setLength(&st, i, sizeof(double));
            } else if (t == SQL_LONG || t == SQL_SHORT) {
                if (meta->getScale(&st, i) != 0) {
                    b->setType(&st, i, SQL_DOUBLE | 1u);
                    b->setLength(&st, i, sizeof(double));
                    b->setScale(&st, i, 0);
                }
            } else if (t == SQL_INT64 && meta->getScale(&st, i) != 0) {
                b->setType(&st, i, SQL_DOUBLE | 1u);
                b->setLength(&st, i, sizeof(double));
                b->setScale(&st, i, 0);
            }
        }
        output_ = b->getMetadata(&st);
        b->release();
        for (unsigned i = 0; i < count; ++i) {
            Column c;
            const char* alias = meta->getAlias(&st, i);
            c.name = QString::fromUtf8(alias && *alias ? alias : meta->getField(&st, i)).toUpper();
            c.type = baseType(output_->getType(&st, i));
            c.subType = output_->getSubType(&st, i);
            c.scale = output_->getScale(&st, i);
            c.length = output_->getLength(&st, i);
            c.offset = output_->getOffset(&st, i);
            c.nullOffset = output_->getNullOffset(&st, i);
            columns_.push_back(c);
        }
        meta->release();
        outputBuffer_.assign(output_->getMessageLength(&st), 0);
    });
    row_.assign(columns_.size(), QVariant());
    lastText_.assign(columns_.size(), std::string());
}

void Query::open()
{
    close();
    prepare();
    ensureReady();
    if (!(flags_ & IStatement::FLAG_HAS_CURSOR)) {
        // Opening an insert, update or delete runs it; no rows come back.
        execSql();
        eof_ = true;
        return;
    }
    buildInput();
    describeOutput();
    cursor_ = call(QStringLiteral("Erro ao abrir a consulta"), [&](ThrowStatusWrapper& st) {
        return statement_->openCursor(&st, db_.transaction().handle(), input_,
                                      inputBuffer_.empty() ? nullptr : inputBuffer_.data(),
                                      output_, 0);
    });
    open_ = true;
    eof_ = !fetchRow();
}

void Query::execSql()
{
    closeCursor();
    prepare();
    ensureReady();
    buildInput();
    if (flags_ & IStatement::FLAG_HAS_CURSOR) {
        open();
        return;
    }
    call(QStringLiteral("Erro ao executar o comando"), [&](ThrowStatusWrapper& st) {
        statement_->execute(&st, db_.transaction().handle(), input_,
                            inputBuffer_.empty() ? nullptr : inputBuffer_.data(), statementOutput_,
                            singletonBuffer_.empty() ? nullptr : singletonBuffer_.data());
    });
}

void Query::closeCursor()
{
    if (cursor_) {
        IStatus* st = master()->getStatus();
        CheckStatusWrapper status(st);
        cursor_->close(&status);
        if (status.getState() & IStatus::STATE_ERRORS)
            cursor_->release();
        status.dispose();
        cursor_ = nullptr;
    }
    open_ = false;
    eof_ = true;
}

void Query::close()
{
    const bool wasOpen = open_;
    closeCursor();
    if (wasOpen)
        db_.transaction().queryClosed(this);
}

bool Query::fetchRow()
{
    if (!cursor_)
        return false;
    const int result = call(QStringLiteral("Erro ao ler o resultado"), [&](ThrowStatusWrapper& st) {
        return cursor_->fetchNext(&st, outputBuffer_.data());
    });
    if (result != IStatus::RESULT_OK)
        return false;
    decodeRow();
    return true;
}

void Query::next()
{
    if (!open_ || eof_)
        return;
    eof_ = !fetchRow();
}

void Query::decodeRow()
{
    IUtil* util = master()->getUtilInterface();
    const unsigned char* buf = outputBuffer_.data();
    for (size_t i = 0; i < columns_.size(); ++i) {
        const Column& c = columns_[i];
        if (*reinterpret_cast<const short*>(buf + c.nullOffset)) {
            row_[i] = QVariant();
            continue;
        }
        const unsigned char* d = buf + c.offset;
        switch (c.type) {
        case SQL_VARYING: {
            unsigned short len = 0;
            std::memcpy(&len, d, sizeof(len));
            const char* text = reinterpret_cast<const char*>(d + sizeof(len));
            // Codes repeat from row to row: share the previous row's string
            // instead of allocating an equal one, which keeps large results small.
            std::string& last = lastText_[i];
            if (row_[i].typeId() == QMetaType::QString && last.size() == len
                && std::memcmp(last.data(), text, len) == 0)
                break;
            last.assign(text, len);
            row_[i] = QString::fromUtf8(text, len);
            break;
        }
        case SQL_SHORT: {
            short v = 0;
            std::memcpy(&v, d, sizeof(v));
            row_[i] = static_cast<int>(v);
            break;
        }
        case SQL_LONG: {
            ISC_LONG v = 0;
            std::memcpy(&v, d, sizeof(v));
            row_[i] = static_cast<int>(v);
            break;
        }
        case SQL_INT64: {
            ISC_INT64 v = 0;
            std::memcpy(&v, d, sizeof(v));
            row_[i] = static_cast<qlonglong>(v);
            break;
        }
        case SQL_DOUBLE: {
            double v = 0;
            std::memcpy(&v, d, sizeof(v));
            row_[i] = v;
            break;
        }
        case SQL_TYPE_DATE: {
            ISC_DATE v = 0;
            std::memcpy(&v, d, sizeof(v));
            unsigned y = 0, m = 0, day = 0;
            util->decodeDate(v, &y, &m, &day);
            row_[i] = QDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(day));
            break;
        }
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP v;
            std::memcpy(&v, d, sizeof(v));
            unsigned y = 0, m = 0, day = 0, h = 0, mi = 0, s = 0, frac = 0;
            util->decodeDate(v.timestamp_date, &y, &m, &day);
            util->decodeTime(v.timestamp_time, &h, &mi, &s, &frac);
            row_[i] = QDateTime(QDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(day)),
                                QTime(static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s),
                                      static_cast<int>(frac / 10)));
            break;
        }
        case SQL_TYPE_TIME: {
            ISC_TIME v = 0;
            std::memcpy(&v, d, sizeof(v));
            unsigned h = 0, mi = 0, s = 0, frac = 0;
            util->decodeTime(v, &h, &mi, &s, &frac);
            row_[i] = QTime(static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s),
                            static_cast<int>(frac / 10));
            break;
        }
        case SQL_BOOLEAN:
            row_[i] = *d != 0;
            break;
        default:
            row_[i] = QVariant();
        }
    }
}

int Query::columnIndex(const QString& name) const
{
    const QString upper = name.toUpper();
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].name == upper)
            return static_cast<int>(i);
    }
    return -1;
}

QVariant Query::value(int column) const
{
    if (column < 0 || static_cast<size_t>(column) >= row_.size())
        return {};
    return row_[static_cast<size_t>(column)];
}

QVariant Query::value(const QString& column) const
{
    const int i = columnIndex(column);
    if (i < 0)
        throw DatabaseError(QStringLiteral("Campo %1 não encontrado em %2").arg(column, componentName_));
    return value(i);
}

void openStatement(Query& query, const Statement& statement)
{
    query.setStatement(statement.sql, statement.params);
    query.open();
}

// ------------------------------------------------------------- write helper

WriteResult guardedWrite(Transaction& tr, const std::function<void()>& work)
{
    try {
        if (!tr.active())
            tr.start();
        work();
        tr.commitRetaining();
        return {};
    } catch (const std::exception& e) {
        WriteResult result{false, QString::fromUtf8(e.what()), dynamic_cast<const Cancelled*>(&e) != nullptr};
        try {
            tr.rollbackRetaining();
        } catch (const std::exception& again) {
            result.error += u'\n' + QString::fromUtf8(again.what());
        }
        return result;
    }
}

namespace engine {

void shutdown()
{
    if (engineDown)
        return;
    engineDown = true;
    // Waits at most this long for the engine's own threads.
    constexpr unsigned kTimeoutMs = 3000;
    try {
        call(QStringLiteral("Erro ao encerrar o Firebird"), [&](ThrowStatusWrapper& st) {
            master()->getDispatcher()->shutdown(&st, kTimeoutMs, fb_shutrsn_app_stopped);
        });
    } catch (const DatabaseError&) {
        // Ending anyway: there is nothing left to undo.
    }
}

bool isShutDown()
{
    return engineDown;
}

void keepSignalHandler(int signal, void (*handler)(int))
{
    auto& handlers = keptHandlers();
    handlers.erase(std::remove_if(handlers.begin(), handlers.end(),
                                  [&](const KeptHandler& k) { return k.signal == signal; }),
                   handlers.end());
    handlers.push_back({signal, handler});
    installKeptHandlers();
}

} // namespace engine

} // namespace talvera::db
