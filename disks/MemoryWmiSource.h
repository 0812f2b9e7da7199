#pragma once

#include "disks/PropertyObject.h"
#include "disks/WmiSource.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// What the in-memory source answers to one request.
struct MemoryAnswer {
    WmiStatus status = 0;
    // Statuses of the next runs, one used up per run; once empty, status answers.
    std::deque<WmiStatus> statusPerRun;
    std::vector<EnumeratedObject> objects;
};

// A source held in memory, for the rules of the scan and the window: objects with text, null and
// failing properties, failing queries and failing connection steps. A request it was given no
// answer for fails as an invalid query. It records what it was asked.
class MemoryWmiSource : public WmiSource {
public:
    enum class ConnectStep { CreateLocator, ConnectServer, SetProxyBlanket };

    MemoryAnswer& Answer(const WmiRequest& request) { return m_answers[request]; }
    // Makes one connection step fail with the status.
    void FailConnect(ConnectStep step, WmiStatus status);
    void FailSecurity(WmiStatus status) { m_securityStatus = status; }
    // Cluster geometry of a root path; paths without one cannot be measured.
    void SetGeometry(const std::string& rootPath, std::uint32_t sectorsPerCluster,
                     std::uint32_t bytesPerSector);
    // Called with each request before it is answered; tests look at the window from here.
    std::function<void(const WmiRequest& request)> onQuery;

    WmiStatus InitSecurity() override;
    void ReleaseSecurity() override;
    WmiStatus CreateLocator(std::unique_ptr<WmiLocator>& locator) override;
    bool GetVolumeGeometry(const std::string& rootPath, DiskGeometry& geometry) override;

    // What happened so far.
    struct Log {
        int securitySetUps = 0;
        int securityReleases = 0;
        int connections = 0; // successful ConnectServer calls
        int liveObjects = 0; // locators and services not yet released
        std::vector<WmiRequest> requests;
        std::vector<std::string> geometryAsked;
    };
    const Log& History() const { return m_log; }
    int ScanCount() const { return m_log.connections; }

private:
    friend class MemoryLocator;
    friend class MemoryServices;

    std::map<WmiRequest, MemoryAnswer> m_answers;
    std::map<ConnectStep, WmiStatus> m_connectFailures;
    std::map<std::string, DiskGeometry> m_geometry;
    WmiStatus m_securityStatus = 0;
    bool m_securitySet = false;
    Log m_log;
};
