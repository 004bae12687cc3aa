#include "widgets/enterfocus.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace talvera::widgets {

EnterMovesFocus::EnterMovesFocus(QWidget* form) : QObject(form), m_form(form)
{
    setObjectName(QStringLiteral("enterMovesFocus"));
    // Key presses go to the focused child, never to the form, so the filter
    // has to sit on the application; it only acts on the form's children.
    qApp->installEventFilter(this);
}

bool EnterMovesFocus::keepsEnter(QWidget* widget) const
{
    for (QWidget* w = widget; w && w != m_form; w = w->parentWidget()) {
        if (w->property("enterMovesFocus").isValid() && !w->property("enterMovesFocus").toBool())
            return true;
        if (qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w))
            return true;
    }
    return false;
}

bool EnterMovesFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // isAncestorOf stays inside one window, so popups (combo lists,
    // calendars) keep their own Enter.
    if (!widget || !m_form->isAncestorOf(widget) || keepsEnter(widget))
        return false;
    // A key the focused control ignored and passed up to its parents: that
    // control kept Enter for itself.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus != widget && widget->isAncestorOf(focus))
        return false;
    focusNext(widget);
    return true;
}

void EnterMovesFocus::focusNext(QWidget* from) const
{
    QWidget* current = QApplication::focusWidget();
    if (!current || !m_form->isAncestorOf(current))
        current = from;
    // Walks the tab chain like Tab does, but does not ask the focused widget
    // (a date edit would take Tab to move between its day/month/year parts).
    for (QWidget* next = current->nextInFocusChain(); next && next != current; next = next->nextInFocusChain()) {
        if (!m_form->isAncestorOf(next))
            continue;
        QWidget* target = next;
        while (target->focusProxy())
            target = target->focusProxy();
        // The inner editor of a compound control comes after it in the chain.
        if (target != next && target->isAncestorOf(next))
            continue;
        if (target == current)
            continue;
        if ((target->focusPolicy() & Qt::TabFocus) != Qt::TabFocus)
            continue;
        if (!next->isVisibleTo(m_form) || !next->isEnabled())
            continue;
        next->setFocus(Qt::TabFocusReason);
        return;
    }
}

EnterMovesFocus* installEnterMovesFocus(QWidget* form)
{
    if (auto* existing = form->findChild<EnterMovesFocus*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new EnterMovesFocus(form);
}

} // namespace talvera::widgets
