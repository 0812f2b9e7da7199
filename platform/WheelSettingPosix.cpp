#include "platform/WheelSetting.h"

bool WheelScrollsPages() {
    return false;
}
