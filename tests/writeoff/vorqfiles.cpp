#include "vorqfiles.h"

#include "core/numbers.h"

#include <QDir>
#include <QFile>

#include <shapefil.h>

#include <stdexcept>

namespace talvera::test {

void writeDbf(const QString& path, const std::vector<DbfField>& fields, const std::vector<DbfRecord>& records,
              const char* mark)
{
    QFile::remove(path);
    DBFHandle h = DBFCreateEx(QFile::encodeName(path).constData(), mark);
    if (!h)
        throw std::runtime_error("DBFCreateEx failed");
    for (const DbfField& f : fields) {
        if (DBFAddNativeFieldType(h, f.name, f.type, f.width, f.decimals) < 0)
            throw std::runtime_error("DBFAddNativeFieldType failed");
    }
    for (size_t r = 0; r < records.size(); ++r) {
        const int row = static_cast<int>(r);
        for (size_t i = 0; i < fields.size(); ++i) {
            const QByteArray value = i < records[r].values.size() ? records[r].values[i] : QByteArray();
            const int field = static_cast<int>(i);
            if (fields[i].type == 'C' || !value.isEmpty())
                DBFWriteStringAttribute(h, row, field, value.constData());
            else
                DBFWriteNULLAttribute(h, row, field);
        }
        if (records[r].deleted)
            DBFMarkRecordDeleted(h, row, 1);
    }
    DBFClose(h);
    // shapelib names the file "<base>.dbf"; keep the name asked for.
    const QString created = path.left(path.lastIndexOf(u'.')) + QStringLiteral(".dbf");
    if (created != path && !QFile::rename(created, path))
        throw std::runtime_error("cannot rename the written table");
}

const std::vector<DbfField>& f110Fields()
{
    static const std::vector<DbfField> fields = {
        {"N_AIH", 'C', 13},   {"CGC_HSP", 'C', 14}, {"CMPT", 'C', 4},   {"NOME_PAC", 'C', 40},
        {"DATA_NASC", 'D', 8}, {"PRCD", 'C', 8},    {"CPF_SOLI", 'C', 11}, {"MUN_RES", 'C', 7},
        {"MUN_INT", 'C', 7},  {"SEXO", 'C', 1},     {"CARINT", 'C', 2}, {"ESPECIALID", 'C', 2},
        {"VALORTOTAL", 'N', 12, 2}};
    return fields;
}

const std::vector<DbfField>& f030Fields()
{
    static const std::vector<DbfField> fields = {{"CGC_HSP", 'C', 14},  {"NOM_HSP", 'C', 60},  {"NAT_HSP", 'C', 2},
                                                 {"MUNICIPIO", 'C', 7}, {"M_USUARIO", 'C', 15}, {"DATA_DIG", 'D', 8},
                                                 {"HORA", 'C', 5}};
    return fields;
}

const std::vector<DbfField>& m01Fields()
{
    static const std::vector<DbfField> fields = {{"MUNICIPIO", 'C', 7}, {"COMP", 'C', 4},     {"DATA_ENT", 'D', 8},
                                                 {"QTE_DISTR", 'N', 5}, {"QTE_APRES", 'N', 5}, {"MFUSUARIO", 'C', 15},
                                                 {"FLAG_EXCL", 'C', 1}};
    return fields;
}

QByteArray nAih(qint64 numero)
{
    return QByteArray::number(numero).rightJustified(12, '0') + QByteArray::number(numbers::checkDigit(numero));
}

void writeVorqFiles(const QString& dir, const std::vector<F110>& admissions, const std::vector<F030>& hospitals,
                    const char* mark)
{
    std::vector<DbfRecord> f110;
    for (const F110& a : admissions)
        f110.push_back({{a.nAih, a.cgc, a.cmpt, a.nomePac, {}, "03010101", "12345678909", a.munRes, a.munInt, "M",
                         "01", "03", "640.04"},
                        a.deleted});
    std::vector<DbfRecord> f030;
    for (const F030& h : hospitals)
        f030.push_back({{h.cgc, h.nome, "10", "2700300", "OPERADOR", "20160301", "10:30"}});
    const QDir d(dir);
    writeDbf(d.filePath(QStringLiteral("F110.DBF")), f110Fields(), f110, mark);
    writeDbf(d.filePath(QStringLiteral("F030.DBF")), f030Fields(), f030, mark);
    writeDbf(d.filePath(QStringLiteral("M01.DBF")), m01Fields(), {}, mark);
}

} // namespace talvera::test
