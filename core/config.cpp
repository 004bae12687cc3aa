#include "core/config.h"

#include "core/buildconfig.h"
#include "core/codepage.h"
#include "core/firebird.h"

#include <QFile>
#include <QFileInfo>

namespace talvera {

BuildSettings BuildSettings::fromBuild()
{
    return {QStringLiteral(TALVERA_STATE_SERVER), QStringLiteral(TALVERA_STATE_DATABASE),
            QStringLiteral(TALVERA_BUILTIN_DIR)};
}

QString readDataDirectory(const QString& configFile)
{
    QFile file(configFile);
    const QString shown = QFileInfo(configFile).absoluteFilePath();
    if (!file.exists())
        throw db::DatabaseError(
            QStringLiteral("Arquivo de configuração não encontrado: %1").arg(shown));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw db::DatabaseError(QStringLiteral("Não foi possível ler o arquivo de configuração %1: %2")
                                    .arg(shown, file.errorString()));
    // The file is written by hand on Windows machines: take UTF-8 when it is
    // valid, otherwise read it as Windows-1252.
    const QByteArray raw = file.readLine();
    QString line = QString::fromUtf8(raw);
    if (line.contains(QChar::ReplacementCharacter))
        line = codepage::fromWin1252(raw);
    line = line.trimmed();
    if (line.isEmpty())
        throw db::DatabaseError(
            QStringLiteral("A primeira linha do arquivo de configuração %1 está vazia: "
                           "ela deve indicar o diretório dos bancos de dados")
                .arg(shown));
    return line;
}

} // namespace talvera
