#pragma once

#include "disks/WmiRequest.h"

#include <cstdint>
#include <memory>
#include <string>

// Status of a WMI or COM call in the shape Windows gives it (an HRESULT): negative means failure.
// Messages print it as a signed decimal number.
using WmiStatus = std::int32_t;

inline bool WmiFailed(WmiStatus status) {
    return status < 0;
}

// A property value as the scan sees it: text, null, or anything else (a number, an array, or nothing
// at all after a failed read). Text is 8-bit text in the system's encoding.
struct WmiValue {
    enum class Kind { Text, Null, Other };
    Kind kind = Kind::Other;
    std::string text;

    static WmiValue MakeText(std::string value) { return WmiValue{Kind::Text, std::move(value)}; }
    static WmiValue MakeNull() { return WmiValue{Kind::Null, {}}; }
    static WmiValue MakeOther() { return WmiValue{Kind::Other, {}}; }
    bool IsText() const { return kind == Kind::Text; }
    bool IsNull() const { return kind == Kind::Null; }
};

// One WMI instance. Destroying it releases it.
class WmiObject {
public:
    virtual ~WmiObject() = default;
    // Reads one property. After a failed read the value is Other.
    virtual WmiStatus Get(const std::string& name, WmiValue& value) = 0;
};

// The result of a query, read forward only, one object at a time. Destroying it releases it.
class WmiEnumeration {
public:
    virtual ~WmiEnumeration() = default;
    // Waits for the next object. returned is 0 at the end, whatever the status; with 1 returned the
    // object is set, and a negative status marks it as unusable.
    virtual WmiStatus Next(std::unique_ptr<WmiObject>& object, unsigned& returned) = 0;
};

// A namespace connected through a locator.
class WmiServices {
public:
    virtual ~WmiServices() = default;
    // Authentication and impersonation of the calls made through this object.
    virtual WmiStatus SetProxyBlanket() = 0;
    // Runs a query, forward only and returning at once.
    virtual WmiStatus ExecQuery(const WmiRequest& request, std::unique_ptr<WmiEnumeration>& result) = 0;
};

class WmiLocator {
public:
    virtual ~WmiLocator() = default;
    virtual WmiStatus ConnectServer(const std::string& nameSpace, std::unique_ptr<WmiServices>& services) = 0;
};

// Cluster geometry of a volume, as GetDiskFreeSpaceA gives it.
struct DiskGeometry {
    std::uint32_t sectorsPerCluster = 0;
    std::uint32_t bytesPerSector = 0;
};

// Where partition facts come from: WMI on Windows, the kernel's files on Linux, memory in tests.
class WmiSource {
public:
    virtual ~WmiSource() = default;

    // Process-wide security, set once when the window starts.
    virtual WmiStatus InitSecurity() = 0;
    // Undoes InitSecurity; harmless when called again or after a failed set-up.
    virtual void ReleaseSecurity() = 0;

    virtual WmiStatus CreateLocator(std::unique_ptr<WmiLocator>& locator) = 0;

    // Geometry of the volume whose root is a logical disk's Name; false when it cannot be had.
    virtual bool GetVolumeGeometry(const std::string& rootPath, DiskGeometry& geometry) = 0;
};
