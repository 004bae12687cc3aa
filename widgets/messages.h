#pragma once
// The message boxes the application shows, behind an interface so tests can
// replace the modal windows with a scripted stand-in.

#include <QString>
#include <memory>

namespace talvera::widgets {

class Messages {
public:
    enum class Kind { Information, Question, Error };

    virtual ~Messages() = default;
    // OK box captioned with the application name.
    virtual void information(const QString& text) = 0;
    // The same box with figures under its text (Qt's informative text).
    virtual void summary(const QString& text, const QString& /*informativeText*/) { information(text); }
    // Yes/No box captioned "Confirma"; true only for Yes.
    virtual bool question(const QString& text) = 0;
    // The standard error box, captioned "Erro".
    virtual void error(const QString& text) = 0;
};

// Modal QMessageBox windows over the active window.
class DialogMessages : public Messages {
public:
    void information(const QString& text) override;
    void summary(const QString& text, const QString& informativeText) override;
    bool question(const QString& text) override;
    void error(const QString& text) override;
};

// The service in use; DialogMessages until replaced. GUI thread only.
Messages& messages();
// Installs a service (null restores DialogMessages) and returns the previous one.
std::unique_ptr<Messages> setMessages(std::unique_ptr<Messages> service);

} // namespace talvera::widgets
