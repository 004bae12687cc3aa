#pragma once
// Enter moves to the next control, as Tab does, in every control of a form.
// The key is swallowed, so buttons and default buttons do not react to it.
// Grids, multi-line editors and widgets with the dynamic property
// "enterMovesFocus" set to false keep Enter for themselves.

#include <QObject>

class QWidget;

namespace talvera::widgets {

class EnterMovesFocus : public QObject {
    Q_OBJECT

public:
    // Watches the application's key presses for controls inside form, and
    // lives as long as the form does.
    explicit EnterMovesFocus(QWidget* form);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keepsEnter(QWidget* widget) const;
    void focusNext(QWidget* from) const;

    QWidget* m_form;
};

// Installs the behaviour on form; calling it again on the same form is harmless.
EnterMovesFocus* installEnterMovesFocus(QWidget* form);

} // namespace talvera::widgets
