#pragma once
// A data module over fresh demo databases, the report container with a fixed
// date, and previews and messages that are kept rather than shown.

#include "core/datamodule.h"
#include "reports/engine/document.h"
#include "reports/engine/preview.h"
#include "reports/relato.h"
#include "tests/support/datadir.h"
#include "tests/support/qtprint.h"
#include "widgets/scriptedmessages.h"

#include <gtest/gtest.h>

#include <memory>

namespace talvera::test {

class ReportFixture {
public:
    explicit ReportFixture(Edition edition = Edition::Municipal);
    ~ReportFixture();

    DataDir dir;
    widgets::ScriptedMessagesScope messages;
    reports::KeptPreviewsScope previews;
    std::unique_ptr<DataModule> dm;
    std::unique_ptr<reports::TfmRelato> relato;

    // Runs a statement on a connection and commits it.
    void exec(db::Database& database, const QString& sql, const QVariantList& params = {});
    // Opens a dataset on the given statement.
    void open(const QString& dataset, const QString& sql, const QVariantList& params = {});
    // The one document shown since the last call (a test failure when not one).
    reports::Document shownDocument();
};

// The dump of a document as lines, and the items of one page whose text matches.
QStringList dumpLines(const reports::Document& doc);
QStringList pageLines(const reports::Document& doc, int page);
// The dump line of the first item with exactly that text on the page (0-based), or empty.
QString lineOf(const reports::Document& doc, int page, const QString& text);
// x and y of a dump line.
double xOf(const QString& line);
double yOf(const QString& line);
QString flagsOf(const QString& line);

} // namespace talvera::test
