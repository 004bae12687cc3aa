#pragma once
// A form whose function this version does not offer yet: its caption and a notice.

#include <QDialog>

namespace talvera {

class PlaceholderForm : public QDialog {
    Q_OBJECT
public:
    PlaceholderForm(const QString& name, const QString& caption, QWidget* parent = nullptr);
};

} // namespace talvera
