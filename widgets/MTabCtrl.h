#pragma once

#include <QRect>
#include <QTabBar>
#include <QWidget>

class MDialog;

// A page of the tab strip. It carries no content of its own.
class MTabPage : public QWidget {
    Q_OBJECT
public:
    explicit MTabPage(QWidget* parent = nullptr) : QWidget(parent) { hide(); }
};

// The tab strip. After NotifyOnTabSel, every new selection reaches the window's OnTabSelChange.
class MTabCtrl : public QTabBar {
    Q_OBJECT
public:
    explicit MTabCtrl(QWidget* parent = nullptr);

    void SetAppName(const QString& name) { m_appName = name; }
    // Adds a tab at index with its page; returns the tab's index.
    int AddSSLPage(const QString& title, int index, MTabPage* page);
    void NotifyOnTabSel(MDialog* window);
    int GetCurSel() const { return currentIndex(); }
    void SetCurSel(int index) { setCurrentIndex(index); }
    // Places the strip as its template does. It keeps that place and never grows, but in a window
    // narrower than the template its right end (where the scroll arrows are) stays rightMargin pixels
    // inside the parent, so every tab can still be reached.
    void SetTemplateGeometry(const QRect& geometry, int rightMargin);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tabs as high as the strip's template, whatever height the style gives them: a taller tab would be
    // cut in half by the strip.
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;

private:
    void FitToParent();

    QRect m_template;
    int m_rightMargin = 0;
    QString m_appName;
    MDialog* m_notify = nullptr;
};
