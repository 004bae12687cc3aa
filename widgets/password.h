#pragma once
// Password fields show "*" for every typed character, whatever the style's
// own password character is.

class QLineEdit;

namespace talvera::widgets {

void showAsPassword(QLineEdit* edit);

} // namespace talvera::widgets
