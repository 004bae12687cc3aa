#pragma once
// Work that runs inside one handler for longer than a moment (an expansion, an
// import, a rebuild, a big report) shows a modal progress window through a
// LongOperation. Its step() keeps the window painted and tells the work when to
// stop: the operator pressed "Cancelar", or the program is being ended from
// outside (a session logout's SIGTERM, Ctrl+C). The work then throws
// db::Cancelled (or otherwise abandons itself) so its transaction is rolled back
// whole; the program's end runs once no long operation is left.

#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace talvera::widgets {

// Called as the work goes; returning false asks it to stop.
using Progress = std::function<bool(qint64 done, qint64 total)>;

class LongOperation {
public:
    // The window appears only when the work lasts longer than half a second.
    LongOperation(QWidget* parent, const QString& text, qint64 total = 0);
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

    // Shows how far the work is (total 0: an indefinite bar) and, when given,
    // the phase it is in. False once the work must stop.
    bool step(qint64 done, const QString& phase = {});
    void setTotal(qint64 total);
    // step() as a Progress callback; the total it receives replaces this one's.
    Progress progress();

    bool stopped() const { return stopped_; }

private:
    std::unique_ptr<QProgressDialog> dialog_;
    QString text_;
    qint64 total_ = 0;
    bool stopped_ = false;
};

// True while any LongOperation exists.
bool longOperationRunning();

// The program's end asked from outside. The shell installs what ends the
// program; requestProgramEnd runs it at once, or, while a long operation is
// running, makes that operation stop and runs it as soon as the last one is gone.
void setProgramEnd(std::function<void()> end);
void requestProgramEnd();
bool programEndRequested();

} // namespace talvera::widgets
