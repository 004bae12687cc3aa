#include "shell/placeholder.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace talvera {

PlaceholderForm::PlaceholderForm(const QString& name, const QString& caption, QWidget* parent) : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    auto* notice = new QLabel(QStringLiteral("Esta função ainda não está disponível nesta versão do programa."), this);
    notice->setObjectName(QStringLiteral("lbAviso"));
    layout->addWidget(notice);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Fechar"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace talvera
