#include "widgets/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace talvera::widgets {

namespace {

std::unique_ptr<Messages>& current()
{
    static std::unique_ptr<Messages> service;
    if (!service)
        service = std::make_unique<DialogMessages>();
    return service;
}

} // namespace

void DialogMessages::information(const QString& text)
{
    QMessageBox box(QMessageBox::Information, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void DialogMessages::summary(const QString& text, const QString& informativeText)
{
    QMessageBox box(QMessageBox::Information, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setInformativeText(informativeText);
    box.exec();
}

bool DialogMessages::question(const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirma"), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    // Portuguese captions whether or not Qt's translations are installed.
    QPushButton* yes = box.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void DialogMessages::error(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Erro"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

Messages& messages()
{
    return *current();
}

std::unique_ptr<Messages> setMessages(std::unique_ptr<Messages> service)
{
    std::unique_ptr<Messages> previous = std::move(current());
    current() = std::move(service);
    return previous;
}

} // namespace talvera::widgets
