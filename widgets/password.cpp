#include "widgets/password.h"

#include <QLineEdit>

namespace talvera::widgets {

void showAsPassword(QLineEdit* edit)
{
    edit->setEchoMode(QLineEdit::Password);
    // 42 is "*".
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

} // namespace talvera::widgets
