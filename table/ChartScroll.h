#pragma once

// How a chart scrolls from the keyboard and the mouse wheel, in whole lines, the way a list does. No Qt:
// the chart window turns key and wheel events into these calls and sets its scroll bar to the result.

enum class ChartScrollKey { LineUp, LineDown, PageUp, PageDown, Home, End };

// The first visible line after the key, from first, for a chart whose first line may go from 0 to
// maxFirst and that shows page whole lines.
int ChartScrollTarget(ChartScrollKey key, int first, int maxFirst, int page);

// Turns wheel turns into lines. A notch (120 eighths of a degree) moves the platform's lines per notch;
// a high-resolution wheel or a touchpad sends parts of a notch, which add up until they make a line. A
// setting of "one screen at a time" (passed as a negative count) or a count beyond a page moves one page
// per notch, as a list view does.
class ChartWheel {
public:
    // Lines to move for a turn of delta eighths of a degree (positive: away from the user, up the
    // chart, so a negative count of lines).
    int Lines(int delta, int linesPerNotch, int page);

private:
    long long m_pending = 0; // the part of a line not moved yet, in 1/120 of a line
};
