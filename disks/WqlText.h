#pragma once

#include "disks/WmiRequest.h"

#include <string>

// The WQL text WMI is given for a request. The identifier is inserted unchanged.
std::string WqlText(const WmiRequest& request);
