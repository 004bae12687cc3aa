#include "widgets/longoperation.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>

namespace talvera::widgets {

namespace {

constexpr int kScale = 1000; // the bar's resolution, whatever the total

int running = 0;
bool endRequested = false;
std::function<void()>& programEnd()
{
    static std::function<void()> end;
    return end;
}

void runProgramEnd()
{
    // Queued, so the end never runs inside the handler that asked for it.
    QTimer::singleShot(0, [] {
        if (programEnd())
            programEnd()();
    });
}

} // namespace

LongOperation::LongOperation(QWidget* parent, const QString& text, qint64 total)
    : text_(text), total_(total)
{
    ++running;
    dialog_ = std::make_unique<QProgressDialog>(text, QStringLiteral("Cancelar"), 0, total > 0 ? kScale : 0, parent);
    if (parent)
        dialog_->setWindowTitle(parent->windowTitle());
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(500);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    dialog_->setValue(0);
}

LongOperation::~LongOperation()
{
    dialog_.reset();
    if (--running == 0 && endRequested)
        runProgramEnd();
}

void LongOperation::setTotal(qint64 total)
{
    if (total == total_)
        return;
    total_ = total;
    dialog_->setMaximum(total > 0 ? kScale : 0);
}

bool LongOperation::step(qint64 done, const QString& phase)
{
    if (!phase.isEmpty()) {
        const QString label = total_ > 0 ? QStringLiteral("%1\n%2: %3 de %4").arg(text_, phase).arg(done).arg(total_)
                                         : QStringLiteral("%1\n%2: %3").arg(text_, phase).arg(done);
        dialog_->setLabelText(label);
    }
    if (total_ > 0)
        dialog_->setValue(static_cast<int>(std::min<qint64>(done, total_) * kScale / total_));
    else
        dialog_->setValue(0);
    QCoreApplication::processEvents();
    if (dialog_->wasCanceled() || endRequested)
        stopped_ = true;
    return !stopped_;
}

Progress LongOperation::progress()
{
    return [this](qint64 done, qint64 total) {
        setTotal(total);
        return step(done);
    };
}

bool longOperationRunning()
{
    return running > 0;
}

void setProgramEnd(std::function<void()> end)
{
    programEnd() = std::move(end);
    endRequested = false;
}

void requestProgramEnd()
{
    if (endRequested)
        return;
    endRequested = true;
    if (running == 0)
        runProgramEnd();
}

bool programEndRequested()
{
    return endRequested;
}

} // namespace talvera::widgets
