#include "disks/WmiConnection.h"

#include <cstdio>

namespace {

std::string WithStatus(const char* format, WmiStatus status) {
    char text[128];
    std::snprintf(text, sizeof text, format, static_cast<int>(status));
    return text;
}

} // namespace

bool WmiConnection::Connect(WmiSource& source, std::string& message) {
    Release();
    WmiStatus status = source.CreateLocator(m_locator);
    if (WmiFailed(status) || !m_locator) {
        m_locator.reset();
        message = WithStatus("Failed to create IWbemLocator object. Err code = %d", status);
        return false;
    }
    status = m_locator->ConnectServer("ROOT\\CIMV2", m_services);
    if (WmiFailed(status) || !m_services) {
        Release();
        message = WithStatus("Could not connect. Error code = %d", status);
        return false;
    }
    std::fputs("Connected to ROOT\\CIMV2 WMI namespace\n", stdout);
    std::fflush(stdout);
    status = m_services->SetProxyBlanket();
    if (WmiFailed(status)) {
        Release();
        message = WithStatus("Could not set proxy blanket. Error code = %d", status);
        return false;
    }
    return true;
}

WmiStatus WmiConnection::Query(const WmiRequest& request, std::unique_ptr<WmiEnumeration>& result) {
    result.reset();
    return m_services->ExecQuery(request, result);
}

void WmiConnection::Release() {
    m_services.reset();
    m_locator.reset();
}
