#pragma once

#include <QElapsedTimer>

class QLabel;
class QProgressBar;

// The editor's progress bar and elapsed-time label during long work on the GUI thread. Steps
// let the application repaint (input events wait until the work is done, so that nothing
// changes the data under it), at most every kRepaintInterval milliseconds.
class TDataProgress {
  public:
    TDataProgress(QProgressBar& bar, QLabel& seconds) : bar_(bar), seconds_(seconds) {}

    // Maximum of the bar, position 0, the hourglass cursor, and the start time.
    void StartProgress(int maximum);
    void StepProgress(int position);
    // Position 0, the normal cursor, and " <seconds>s" in the label. Does nothing unless
    // started.
    void EndProgress();

    static constexpr int kRepaintInterval = 40;

  private:
    QProgressBar& bar_;
    QLabel& seconds_;
    QElapsedTimer started_;
    QElapsedTimer lastRepaint_;
    bool running_ = false;
};

// Ends the progress when it leaves scope, also when an exception passes.
class ProgressScope {
  public:
    ProgressScope(TDataProgress& progress, int maximum) : progress_(progress) {
        progress_.StartProgress(maximum);
    }
    ~ProgressScope() { progress_.EndProgress(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

  private:
    TDataProgress& progress_;
};
