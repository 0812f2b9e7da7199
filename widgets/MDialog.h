#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>
#include <vector>

// How a control follows the window when it is resized. AddControl takes three: the horizontal rule,
// then whether the top edge and whether the bottom edge follow the window's bottom edge.
enum eSizeType {
    eSizeNone = 0,    // horizontal: keep position and width; top: stays
    eSizeStretch = 1, // horizontal: the right edge follows the window; bottom: follows
    eSizeMove = 2,    // horizontal: moves with the right edge, keeps its width; top/bottom: follows
    eSizeMoveKeep = 6 // bottom: follows (kept for callers that pass it with a moving top)
};

// Geometry rule of one control: given its rectangle at the reference size, where it goes at a new size.
struct ResizeRule {
    int controlId = 0;
    eSizeType horizontal = eSizeNone;
    eSizeType top = eSizeNone;
    eSizeType bottom = eSizeNone;

    QRect Apply(const QRect& original, const QSize& reference, const QSize& current) const;
};

// A dialog whose registered controls follow resizes by their rules; the others keep their place.
class MDialog : public QDialog {
    Q_OBJECT
public:
    explicit MDialog(QWidget* parent = nullptr);

    // Registers a control (found by its id) with its rule. Its current geometry and the window's
    // current size are the reference.
    void AddControl(int controlId, eSizeType horizontal, eSizeType top, eSizeType bottom);
    QWidget* Control(int controlId) const;
    // Called by the tab strip at every new selection; returns 0.
    virtual long OnTabSelChange(quintptr wParam, qintptr lParam);

    bool m_bResizable = true;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void ApplyResizeRules();

private:
    struct Entry {
        ResizeRule rule;
        QWidget* widget;
        QRect original;
    };
    std::vector<Entry> m_entries;
    QSize m_reference;
};

// Looks up a control by its numeric id (its objectName holds the id as text).
QWidget* FindControl(const QWidget* root, int controlId);
void SetControlId(QWidget* control, int controlId);
