#include "shell/altsen.h"

#include "core/datamodule.h"
#include "shell/principal.h"
#include "widgets/enterfocus.h"
#include "widgets/guard.h"
#include "widgets/messages.h"
#include "widgets/password.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace talvera {

namespace {
QLineEdit* passwordEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    widgets::showAsPassword(edit);
    edit->setMaxLength(kUserTextWidth);
    return edit;
}
} // namespace

TfmAltsen::TfmAltsen(DataModule& dm, std::function<QString()> user, QWidget* parent)
    : QDialog(parent), dm_(dm), user_(std::move(user))
{
    setObjectName(QStringLiteral("fmAltsen"));
    setWindowTitle(QStringLiteral("Alteração de Senha"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    auto* form = new QFormLayout;
    edAtual = passwordEdit(this, "edAtual");
    edNova = passwordEdit(this, "edNova");
    edConfirma = passwordEdit(this, "edConfirma");
    const char* labels[][2] = {{"Label1", "Senha Atual"}, {"Label2", "Nova Senha"},
                               {"Label3", "Confirmação da Nova Senha"}};
    QLineEdit* edits[] = {edAtual, edNova, edConfirma};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(QString::fromUtf8(labels[i][1]), this);
        label->setObjectName(QString::fromLatin1(labels[i][0]));
        form->addRow(label, edits[i]);
    }
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Button1, 0, Qt::AlignRight);
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
    connect(Button1, &QPushButton::clicked, this, widgets::guardedSlot([this] { button1Click(); }));
    widgets::installEnterMovesFocus(this);
}

void TfmAltsen::button1Click()
{
    auto& messages = widgets::messages();
    const QString user = user_();
    db::Query& q = dm_.quConsulta;
    q.setStatement(QStringLiteral("select * from usuario where codusu = :p1"), {user});
    q.open();
    // Every check runs and shows its message; a missing user reads as an empty password.
    bool failed = false;
    QString stored;
    if (q.eof()) {
        messages.information(QStringLiteral("Usuário não cadastrado"));
        failed = true;
    } else {
        stored = q.value(QStringLiteral("SENHA")).toString();
    }
    if (stored != edAtual->text()) {
        messages.information(QStringLiteral("Senha Inválida"));
        failed = true;
    }
    if (edNova->text() != edConfirma->text()) {
        messages.information(QStringLiteral("Senha Nova e Confirmação estão diferentes"));
        failed = true;
    }
    if (stored == edNova->text()) {
        messages.information(QStringLiteral("Senha nova igual a senha atual"));
        failed = true;
    }
    if (failed)
        return;
    if (!userTextStorable(edNova->text())) {
        messages.information(QStringLiteral("A nova senha tem caracteres que não podem ser gravados; "
                                            "use letras, números e sinais comuns"));
        return;
    }
    // Committed at once, so a later failed write elsewhere cannot undo a change reported as done.
    const db::WriteResult written = db::guardedWrite(dm_.trAih(), [&] {
        db::Query& u = dm_.quAtualiza;
        u.setStatement(QStringLiteral("UPDATE USUARIO SET SENHA = :PSEN WHERE CODUSU = :PCOD"), {edNova->text(), user});
        u.execSql();
    });
    if (!written) {
        messages.error(QStringLiteral("Não foi possível alterar a senha:\n") + written.error);
        return;
    }
    messages.information(QStringLiteral("ALTERAÇÃO OK"));
    close();
}

} // namespace talvera
