#include "app/LoadProgress.h"

#include "widgets/DlgProgress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <utility>

LoadProgress::LoadProgress(QWidget* owner, const QString& fileName, Clock clock)
    : m_owner(owner), m_fileName(fileName), m_clock(std::move(clock)) {
    if (!m_clock) {
        auto timer = std::make_shared<QElapsedTimer>();
        timer->start();
        m_clock = [timer] { return timer->elapsed(); };
    }
    // At once, and shown at once: the load keeps the event loop busy from here on.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_start = m_clock();
    m_lastEvents = m_start;
}

LoadProgress::~LoadProgress() {
    m_window.reset();
    QApplication::restoreOverrideCursor();
}

bool LoadProgress::Cancelled() const {
    return m_cancelled || (m_window != nullptr && m_window->Cancelled());
}

void LoadProgress::ShowWindow() {
    m_window = std::make_unique<CDlgProgress>(m_owner);
    // The colours and font of the partition scan's window, so both long waits look alike.
    m_window->PreInit(0xFFFFFF, 0xFFFFFF, 0xF6F6F6, 0xDA0000, 0xFF0000);
    m_window->EnableCancel();
    m_window->Init5(320, true, 8, true, true, false);
    m_window->DisplayByLatency(false);
    m_window->Display(CDlgProgress::kHeading, QStringLiteral("Loading Report..."));
    m_window->Display(CDlgProgress::kStep, QFileInfo(m_fileName).fileName());
}

bool LoadProgress::Step(unsigned long long bytesRead, unsigned long long size) {
    const qint64 now = m_clock();
    bool due = std::exchange(m_firstStep, false) || now - m_lastEvents >= kEventsEveryMs;
    if (m_window == nullptr && now - m_start > kShowAfterMs) {
        ShowWindow();
        due = true;
    }
    if (!due)
        return !Cancelled();
    m_lastEvents = now;
    if (m_window != nullptr) {
        m_window->SetProgress(bytesRead, size);
        m_window->Display(CDlgProgress::kDetail, BytesReadText(bytesRead, size));
        // The progress window is modal: of the user's input only its Cancel button is answered.
        QCoreApplication::processEvents();
    } else {
        // Before the window shows, the window repaints (the status line, what a closed file dialog
        // covered) but the user's input waits for the load's end.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return !Cancelled();
}

QString BytesReadText(unsigned long long bytesRead, unsigned long long size) {
    constexpr double kKB = 1024.0;
    constexpr double kMB = kKB * 1024.0;
    constexpr double kGB = kMB * 1024.0;
    const double scale = size >= 10 * kGB ? kGB : size >= kMB ? kMB : kKB;
    const char* unit = scale == kGB ? "GB" : scale == kMB ? "MB" : "KB";
    const int decimals = scale == kKB ? 0 : 1;
    return QStringLiteral("%1 %3 of %2 %3")
        .arg(static_cast<double>(bytesRead) / scale, 0, 'f', decimals)
        .arg(static_cast<double>(size) / scale, 0, 'f', decimals)
        .arg(QLatin1String(unit));
}
