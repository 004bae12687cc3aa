#pragma once
// The state's emblem: a small shield drawn in code on a transparent background.

#include <QWidget>

namespace talvera {

class Emblem : public QWidget {
    Q_OBJECT
public:
    explicit Emblem(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace talvera
