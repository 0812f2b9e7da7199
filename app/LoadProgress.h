#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

class CDlgProgress;
class QWidget;

// What the user sees while a report loads: a wait cursor from the start and, for a load that lasts
// longer than half a second, the progress window of the partition scan with the bytes read of the
// file's size and a Cancel button. The load stays on the GUI thread: between pieces of the file the
// window's events are handled, at a bounded rate, so it repaints and Cancel answers, while the
// progress window (modal) keeps every other control from starting anything meanwhile.
class LoadProgress {
public:
    // Milliseconds from any start; a steady clock when none is given.
    using Clock = std::function<qint64()>;

    static constexpr qint64 kShowAfterMs = 500;
    static constexpr qint64 kEventsEveryMs = 50;

    LoadProgress(QWidget* owner, const QString& fileName, Clock clock = {});
    ~LoadProgress();
    LoadProgress(const LoadProgress&) = delete;
    LoadProgress& operator=(const LoadProgress&) = delete;

    // The load's progress step, after each piece of the file: false once the user cancelled.
    bool Step(unsigned long long bytesRead, unsigned long long size);
    // Stops the load at its next step, as Cancel does (the window is being closed).
    void Cancel() { m_cancelled = true; }
    bool Cancelled() const;

private:
    void ShowWindow();

    QWidget* m_owner;
    QString m_fileName;
    Clock m_clock;
    qint64 m_start = 0;
    qint64 m_lastEvents = 0;
    bool m_firstStep = true;
    bool m_cancelled = false;
    std::unique_ptr<CDlgProgress> m_window;
};

// "12.5 MB of 200.0 MB": bytes read of a size, in the unit that suits the size.
QString BytesReadText(unsigned long long bytesRead, unsigned long long size);
