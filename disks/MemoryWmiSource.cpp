#include "disks/MemoryWmiSource.h"

#include "disks/WmiStatus.h"

// The locator and services objects of the in-memory source. They count themselves in the source's
// log, so tests can tell that every scan released its connection.
class MemoryServices : public WmiServices {
public:
    explicit MemoryServices(MemoryWmiSource& source) : m_source(source) { ++m_source.m_log.liveObjects; }
    ~MemoryServices() override { --m_source.m_log.liveObjects; }

    WmiStatus SetProxyBlanket() override { return Failure(MemoryWmiSource::ConnectStep::SetProxyBlanket); }

    WmiStatus ExecQuery(const WmiRequest& request, std::unique_ptr<WmiEnumeration>& result) override {
        m_source.m_log.requests.push_back(request);
        if (m_source.onQuery)
            m_source.onQuery(request);
        const auto found = m_source.m_answers.find(request);
        if (found == m_source.m_answers.end())
            return kWbemInvalidQuery;
        MemoryAnswer& answer = found->second;
        WmiStatus status = answer.status;
        if (!answer.statusPerRun.empty()) {
            status = answer.statusPerRun.front();
            answer.statusPerRun.pop_front();
        }
        if (WmiFailed(status))
            return status;
        result = std::make_unique<ListEnumeration>(answer.objects);
        return status;
    }

private:
    WmiStatus Failure(MemoryWmiSource::ConnectStep step) const {
        const auto found = m_source.m_connectFailures.find(step);
        return found == m_source.m_connectFailures.end() ? 0 : found->second;
    }

    MemoryWmiSource& m_source;
};

class MemoryLocator : public WmiLocator {
public:
    explicit MemoryLocator(MemoryWmiSource& source) : m_source(source) { ++m_source.m_log.liveObjects; }
    ~MemoryLocator() override { --m_source.m_log.liveObjects; }

    WmiStatus ConnectServer(const std::string& nameSpace, std::unique_ptr<WmiServices>& services) override {
        if (nameSpace != "ROOT\\CIMV2")
            return kWbemInvalidNamespace;
        const auto found = m_source.m_connectFailures.find(MemoryWmiSource::ConnectStep::ConnectServer);
        if (found != m_source.m_connectFailures.end())
            return found->second;
        services = std::make_unique<MemoryServices>(m_source);
        ++m_source.m_log.connections;
        return 0;
    }

private:
    MemoryWmiSource& m_source;
};

void MemoryWmiSource::FailConnect(ConnectStep step, WmiStatus status) {
    m_connectFailures[step] = status;
}

void MemoryWmiSource::SetGeometry(const std::string& rootPath, std::uint32_t sectorsPerCluster,
                                  std::uint32_t bytesPerSector) {
    m_geometry[rootPath] = DiskGeometry{sectorsPerCluster, bytesPerSector};
}

WmiStatus MemoryWmiSource::InitSecurity() {
    ++m_log.securitySetUps;
    m_securitySet = true;
    return m_securityStatus;
}

void MemoryWmiSource::ReleaseSecurity() {
    if (!m_securitySet)
        return;
    m_securitySet = false;
    ++m_log.securityReleases;
}

WmiStatus MemoryWmiSource::CreateLocator(std::unique_ptr<WmiLocator>& locator) {
    const auto found = m_connectFailures.find(ConnectStep::CreateLocator);
    if (found != m_connectFailures.end())
        return found->second;
    locator = std::make_unique<MemoryLocator>(*this);
    return 0;
}

bool MemoryWmiSource::GetVolumeGeometry(const std::string& rootPath, DiskGeometry& geometry) {
    m_log.geometryAsked.push_back(rootPath);
    const auto found = m_geometry.find(rootPath);
    if (found == m_geometry.end())
        return false;
    geometry = found->second;
    return true;
}
