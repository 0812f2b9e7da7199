#include "widgets/WheelSetting.h"

#ifdef _WIN32
#include <windows.h>

bool WheelScrollsPages() {
    UINT lines = 0;
    return SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0) && lines == WHEEL_PAGESCROLL;
}

#else

bool WheelScrollsPages() {
    return false;
}

#endif
