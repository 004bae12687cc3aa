#include "widgets/guard.h"

#include "widgets/messages.h"

#include <QString>
#include <QtGlobal>

namespace talvera::widgets::detail {

void reportException(std::exception_ptr error) noexcept
{
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("Erro inesperado.");
    }
    if (text.trimmed().isEmpty())
        text = QStringLiteral("Erro inesperado.");
    try {
        messages().error(text);
    } catch (...) {
        // The error box itself failed: the log is all that is left.
        qCritical("%s", qUtf8Printable(text));
    }
}

} // namespace talvera::widgets::detail
