#include "platform/WheelSetting.h"

#include <windows.h>

bool WheelScrollsPages() {
    UINT lines = 0;
    return SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0) && lines == WHEEL_PAGESCROLL;
}
