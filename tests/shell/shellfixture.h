#pragma once
// Creates the program's forms over a fresh data directory, with scripted
// message boxes, and logs in through the main form's own controls.

#include "core/datamodule.h"
#include "shell/bootstrap.h"
#include "shell/principal.h"
#include "tests/support/datadir.h"
#include "tests/support/qtprint.h"
#include "widgets/scriptedmessages.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace talvera::test {

class ShellTest : public ::testing::Test {
protected:
    DataDir dir;
    widgets::ScriptedMessagesScope messages;

    // The state edition's main database is this directory's TALVERA.GDB, served over TCP.
    BuildSettings build() const
    {
        return {QStringLiteral("127.0.0.1"), dir.file(QStringLiteral("TALVERA.GDB")), dir.prefix()};
    }

    void start()
    {
        createForms(build(), dir.configFile());
        fm().showModal = [this](QWidget* f) { opened << f->objectName(); };
        fm().show();
    }
    void TearDown() override { destroyForms(); }

    TfmPrincipal& fm() { return *fmPrincipal(); }
    DataModule& dm() { return dmAih(); }
    QStringList shown() const { return messages->texts(widgets::Messages::Kind::Information); }
    QStringList errors() const { return messages->texts(widgets::Messages::Kind::Error); }
    QAction* action(const char* name) { return fm().findChild<QAction*>(QString::fromLatin1(name)); }

    void login(const QString& user, const QString& password)
    {
        fm().findChild<QLineEdit*>(QStringLiteral("edUsu"))->setText(user);
        fm().findChild<QLineEdit*>(QStringLiteral("edSen"))->setText(password);
        fm().findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    }

    // Runs a statement on one of the directory's files, on a connection of its own;
    // a select gives its first value.
    QString onFile(const QString& file, const QString& sql, bool select)
    {
        db::Database database;
        database.setDatabaseName(dir.file(file));
        db::Query q(database);
        q.setSql(sql);
        QString value;
        if (select) {
            q.open();
            value = q.eof() ? QStringLiteral("<nenhuma linha>") : q.value(0).toString();
        } else {
            q.execSql();
        }
        database.close();
        return value;
    }
    void execOn(const QString& file, const QString& sql) { onFile(file, sql, false); }
    QString readOne(const QString& file, const QString& sql) { return onFile(file, sql, true); }

    QStringList opened;
};

} // namespace talvera::test
