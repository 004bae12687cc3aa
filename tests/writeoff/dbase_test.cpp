// Reading Vorq's dBASE files: code pages, the checks of an untrusted file,
// and the month's selection, without any database.
#include "core/firebird.h"
#include "tests/support/qtprint.h"
#include "vorqfiles.h"
#include "writeoff/codepage.h"
#include "writeoff/dbase.h"
#include "writeoff/vorqimport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace talvera;
using namespace talvera::writeoff;
using namespace talvera::test;

namespace {

TEST(CodePage, DecodesTheMarkedPageAndDropsPadding)
{
    struct Case {
        const char* mark;
        QByteArray bytes;
        const char* text;
    };
    const Case cases[] = {
        {"", "JOS\x90 CONCEI\x80\xC7O   ", "JOSÉ CONCEIÇÃO"},      // no mark: 850
        {"LDID/2", "S\xC7O JO\xC7O", "SÃO JOÃO"},
        {"LDID/1", "JOS\x90", "JOSÉ"},                             // 437 shares the letters
        {"LDID/87", "JOS\xC9 CONCEI\xC7\xC3O", "JOSÉ CONCEIÇÃO"}, // ANSI
        {"UTF-8", "JOS\xC3\x89", "JOSÉ"},
        {"LDID/200", "MAR\xD6" "A", "MARÍA"},                         // unknown mark: 850
        // What Windows-1252 cannot hold becomes '?'; NUL padding goes.
        {"", QByteArray("A\xC9\xCD" "B\0\0", 6), "A??B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mark);
        EXPECT_EQ(decodeField(c.bytes, codePageFromMark(QString::fromLatin1(c.mark))), QString::fromUtf8(c.text));
    }
    EXPECT_EQ(encodeText(QStringLiteral("JOSÉ CONCEIÇÃO"), CodePage::Dos850), QByteArray("JOS\x90 CONCEI\x80\xC7O"));
}

class DbaseFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return QDir(dir.path()).filePath(QString::fromLatin1(name)); }

    // The refusal a table gives, or empty when it opens.
    QString refusal(const QString& file, std::initializer_list<DeclaredField> fields)
    {
        try {
            DbaseTable table(file, QStringLiteral("F030.DBF"), fields);
            return {};
        } catch (const db::DatabaseError& e) {
            return e.message();
        }
    }
};

TEST_F(DbaseFiles, UnusableFilesAreRefusedNamingFileAndField)
{
    writeVorqFiles(dir.path(), {}, {{"12345678000199", "HOSPITAL"}, {"23456789000110", "OUTRO"}});
    const QString good = path("F030.DBF");
    std::initializer_list<DeclaredField> declared = {{"CGC_HSP", 'C'}, {"NOM_HSP", 'C'}, {"DATA_DIG", 'D'}};
    EXPECT_EQ(refusal(good, declared), "");

    QFile original(good);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();
    auto variant = [&](const char* name, const QByteArray& content) {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    };
    QByteArray badVersion = bytes;
    badVersion[0] = 'X';
    struct Case {
        QString file;
        std::initializer_list<DeclaredField> fields;
        const char* expected;
    };
    const Case cases[] = {
        {variant("empty.dbf", {}), declared, "O arquivo F030.DBF não é uma tabela dBASE legível"},
        {variant("version.dbf", badVersion), declared, "O arquivo F030.DBF não é uma tabela dBASE legível"},
        {variant("header.dbf", bytes.left(20)), declared, "O arquivo F030.DBF não é uma tabela dBASE legível"},
        {variant("truncated.dbf", bytes.left(bytes.size() - 40)), declared,
         "O arquivo F030.DBF está incompleto: o cabeçalho anuncia 2 registros e o arquivo só tem 1"},
        {good, {{"CGC_HSP", 'C'}, {"ENDERECO", 'C'}}, "O arquivo F030.DBF não tem o campo ENDERECO"},
        {good, {{"DATA_DIG", 'C'}}, "O campo DATA_DIG do arquivo F030.DBF não é do tipo esperado"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_TRUE(refusal(c.file, c.fields).startsWith(QString::fromUtf8(c.expected)))
            << refusal(c.file, c.fields).toStdString();
    }
}

TEST_F(DbaseFiles, FilesAreLookedForInTheDirectoryInOrderWhateverTheirCase)
{
    writeVorqFiles(dir.path(), {}, {});
    DosFiles files;
    EXPECT_EQ(openDosFiles(dir.path(), files), "");
    EXPECT_TRUE(files.f110 && files.f030 && files.m01);

    // Names as a DOS directory holds them: any case.
    ASSERT_TRUE(QFile::rename(path("F110.DBF"), path("f110.Dbf")));
    EXPECT_EQ(openDosFiles(dir.path(), files), "");

    const struct {
        const char* remove;
        const char* message;
    } order[] = {{"M01.DBF", "Arquivo M01.DBF não existe nesse diretório"},
                 {"F030.DBF", "Arquivo F030.DBF não existe nesse diretório"},
                 {"f110.Dbf", "Arquivo F110.DBF não existe nesse diretório"}};
    for (const auto& step : order) {
        ASSERT_TRUE(QFile::remove(path(step.remove)));
        EXPECT_EQ(openDosFiles(dir.path(), files), QString::fromUtf8(step.message));
        EXPECT_FALSE(files.f110);
    }
    // Not the process's current directory: an empty path has no files.
    EXPECT_EQ(openDosFiles(QString(), files), "Arquivo F110.DBF não existe nesse diretório");
}

TEST_F(DbaseFiles, TheMonthIsTheCompetenceAndNumbersSplitAsDeclared)
{
    writeVorqFiles(dir.path(),
                   {{"2716100000105", "0316", "2700300", "2700300", "MARIA", "12345678000199"},
                    {"27161000001X5", "0316", "2700300", "2700300", "LETRA", "12345678000199"},
                    {"2716100000", "0316", "2700300", "2700300", "CURTO", "12345678000199"},
                    {"2716100000113", "0416", "2700300", "2700300", "OUTRO MES", "12345678000199"},
                    {"2716100000124", "0316", "2700300", "2700300", "APAGADO", "12345678000199", true},
                    {"2716100000135", "0316 ", "2700300", "2700300", "  BRANCOS  ", "12345678000199"}},
                   {{"12345678000199", "HOSPITAL"}});
    DosFiles files;
    ASSERT_EQ(openDosFiles(dir.path(), files), "");
    const DosMonth month = readDosMonth(files, competenceText(3, 2016));
    ASSERT_EQ(month.admissions.size(), 4u);
    const struct {
        double numero;
        double dv;
        const char* patient;
    } expected[] = {{271610000010, 5, "MARIA"}, {0, 0, "LETRA"}, {0, 0, "CURTO"}, {271610000013, 5, "  BRANCOS"}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(month.admissions[i].numero, expected[i].numero) << i;
        EXPECT_EQ(month.admissions[i].dv, expected[i].dv) << i;
        EXPECT_EQ(month.admissions[i].patient, expected[i].patient) << i;
    }
    ASSERT_EQ(month.hospitals.size(), 1u);
    EXPECT_EQ(competenceText(0, 2006), "0006");

    // A value its column cannot hold is refused before anything is written.
    writeDbf(path("F030.DBF"), {{"CGC_HSP", 'C', 20}, {"NOM_HSP", 'C', 60}, {"NAT_HSP", 'C', 2},
                                {"MUNICIPIO", 'C', 7}, {"M_USUARIO", 'C', 15}, {"DATA_DIG", 'D', 8},
                                {"HORA", 'C', 5}},
             {{{"12345678000199"}}, {{"123456789012345678"}}});
    ASSERT_EQ(openDosFiles(dir.path(), files), "");
    try {
        readDosMonth(files, competenceText(3, 2016));
        FAIL() << "no refusal";
    } catch (const db::DatabaseError& e) {
        EXPECT_EQ(e.message(), "O registro 2 do arquivo F030.DBF tem no campo CGC_HSP mais de 14 caracteres; "
                               "nada foi gravado.");
    }
}

} // namespace
