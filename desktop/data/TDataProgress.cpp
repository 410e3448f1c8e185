#include "desktop/data/TDataProgress.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

#include "core/math/NumericUtils.h"

void TDataProgress::StartProgress(int maximum) {
    bar_.setRange(0, std::max(maximum, 1));
    bar_.setValue(0);
    if (!running_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    running_ = true;
    started_.start();
    lastRepaint_.start();
}

void TDataProgress::StepProgress(int position) {
    bar_.setValue(std::clamp(position, 0, bar_.maximum()));
    if (lastRepaint_.elapsed() < kRepaintInterval)
        return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    lastRepaint_.start();
}

void TDataProgress::EndProgress() {
    if (!running_)
        return;
    running_ = false;
    bar_.setValue(0);
    QApplication::restoreOverrideCursor();
    const double seconds = static_cast<double>(started_.nsecsElapsed()) * 1e-9;
    seconds_.setText(" " + QString::fromStdString(FormatNumber(seconds, 2)) + "s");
}
