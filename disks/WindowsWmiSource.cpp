// WMI through COM: every call with the arguments the partition scan relies on. Windows only; the
// MinGW-w64 build of tools/wmi-smoke.cpp runs this file under Wine.
#ifdef _WIN32

#include "disks/WindowsWmiSource.h"
#include "disks/WqlText.h"

#ifndef _WIN32_DCOM
#define _WIN32_DCOM
#endif
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>

#include <climits>
#include <string>
#include <utility>

namespace {

// Owns one reference to a COM interface and releases it when the owner goes. Receive() gives the
// address for a call's out-parameter, so an interface a call returns is owned from the moment the call
// returns, before anything that can fail (an allocation) runs.
template <typename Interface> class ComRef {
public:
    ComRef() = default;
    ComRef(ComRef&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef& operator=(ComRef&&) = delete;
    ~ComRef() { Reset(); }

    Interface** Receive() {
        Reset();
        return &m_pointer;
    }
    Interface* operator->() const { return m_pointer; }
    Interface* Get() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

private:
    void Reset() {
        if (m_pointer != nullptr)
            m_pointer->Release();
        m_pointer = nullptr;
    }

    Interface* m_pointer = nullptr;
};

// A VARIANT cleared when it goes, whatever it was given.
class Variant {
public:
    Variant() { VariantInit(&m_value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&m_value); }
    VARIANT* Out() { return &m_value; }
    const VARIANT& Value() const { return m_value; }

private:
    VARIANT m_value;
};

// A BSTR owned for the length of a call.
class Bstr {
public:
    Bstr() = default;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(m_text); }

    // 8-bit text in the ANSI code page to a wide string; the status tells why it could not be made.
    HRESULT Assign(const std::string& text) {
        SysFreeString(m_text);
        m_text = nullptr;
        if (text.size() > INT_MAX)
            return E_INVALIDARG;
        const int size = static_cast<int>(text.size());
        const int length = size == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
        if (size != 0 && length <= 0)
            return HRESULT_FROM_WIN32(GetLastError());
        m_text = SysAllocStringLen(nullptr, static_cast<UINT>(length));
        if (m_text == nullptr)
            return E_OUTOFMEMORY;
        if (length > 0)
            MultiByteToWideChar(CP_ACP, 0, text.data(), size, m_text, length);
        return S_OK;
    }
    BSTR Get() const { return m_text; }

private:
    BSTR m_text = nullptr;
};

// A wide string to 8-bit text in the ANSI code page.
std::string Narrow(const wchar_t* text, UINT length) {
    if (text == nullptr || length == 0 || length > INT_MAX)
        return {};
    const int wide = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_ACP, 0, text, wide, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wide, result.data(), size, nullptr, nullptr);
    return result;
}

class WindowsObject : public WmiObject {
public:
    explicit WindowsObject(ComRef<IWbemClassObject>&& object) : m_object(std::move(object)) {}

    WmiStatus Get(const std::string& name, WmiValue& value) override {
        value = WmiValue::MakeOther();
        const std::wstring wideName(name.begin(), name.end()); // property names are ASCII
        Variant variant;
        const HRESULT status = m_object->Get(wideName.c_str(), 0, variant.Out(), nullptr, nullptr);
        if (SUCCEEDED(status)) {
            if (variant.Value().vt == VT_BSTR)
                value = WmiValue::MakeText(
                    Narrow(variant.Value().bstrVal, SysStringLen(variant.Value().bstrVal)));
            else if (variant.Value().vt == VT_NULL)
                value = WmiValue::MakeNull();
        }
        return status;
    }

private:
    ComRef<IWbemClassObject> m_object;
};

class WindowsEnumeration : public WmiEnumeration {
public:
    explicit WindowsEnumeration(ComRef<IEnumWbemClassObject>&& enumeration)
        : m_enumeration(std::move(enumeration)) {}

    WmiStatus Next(std::unique_ptr<WmiObject>& object, unsigned& returned) override {
        object.reset();
        ComRef<IWbemClassObject> next;
        ULONG count = 0;
        const HRESULT status =
            m_enumeration->Next(static_cast<LONG>(WBEM_INFINITE), 1, next.Receive(), &count);
        returned = count == 0 ? 0 : 1;
        if (next && returned != 0)
            object = std::make_unique<WindowsObject>(std::move(next));
        return status;
    }

private:
    ComRef<IEnumWbemClassObject> m_enumeration;
};

class WindowsServices : public WmiServices {
public:
    explicit WindowsServices(ComRef<IWbemServices>&& services) : m_services(std::move(services)) {}

    WmiStatus SetProxyBlanket() override {
        return CoSetProxyBlanket(m_services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                 RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    }

    WmiStatus ExecQuery(const WmiRequest& request, std::unique_ptr<WmiEnumeration>& result) override {
        result.reset();
        Bstr language;
        Bstr query;
        HRESULT status = language.Assign("WQL");
        if (SUCCEEDED(status))
            status = query.Assign(WqlText(request));
        if (FAILED(status))
            return status;
        ComRef<IEnumWbemClassObject> enumeration;
        status = m_services->ExecQuery(language.Get(), query.Get(),
                                       WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                       enumeration.Receive());
        if (SUCCEEDED(status) && enumeration)
            result = std::make_unique<WindowsEnumeration>(std::move(enumeration));
        return status;
    }

private:
    ComRef<IWbemServices> m_services;
};

class WindowsLocator : public WmiLocator {
public:
    explicit WindowsLocator(ComRef<IWbemLocator>&& locator) : m_locator(std::move(locator)) {}

    WmiStatus ConnectServer(const std::string& nameSpace, std::unique_ptr<WmiServices>& services) override {
        Bstr path;
        HRESULT status = path.Assign(nameSpace);
        if (FAILED(status))
            return status;
        ComRef<IWbemServices> connected;
        status = m_locator->ConnectServer(path.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                          connected.Receive());
        if (SUCCEEDED(status) && connected)
            services = std::make_unique<WindowsServices>(std::move(connected));
        return status;
    }

private:
    ComRef<IWbemLocator> m_locator;
};

class WindowsWmiSource : public WmiSource {
public:
    ~WindowsWmiSource() override { ReleaseSecurity(); }

    WmiStatus InitSecurity() override {
        // The GUI thread's apartment: Qt has usually made it already (S_FALSE); either way this call
        // is balanced by the one CoUninitialize of ReleaseSecurity.
        if (SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
            m_comInitialised = true;
        const HRESULT status = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                                    RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
        // Security set by the process before us (a framework, an injected DLL) is no failure: every
        // connection sets its own proxy security anyway.
        return status == RPC_E_TOO_LATE ? S_OK : status;
    }

    void ReleaseSecurity() override {
        if (!m_comInitialised)
            return;
        m_comInitialised = false;
        CoUninitialize();
    }

    WmiStatus CreateLocator(std::unique_ptr<WmiLocator>& locator) override {
        ComRef<IWbemLocator> created;
        const HRESULT status =
            CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                             reinterpret_cast<void**>(created.Receive()));
        if (SUCCEEDED(status) && created)
            locator = std::make_unique<WindowsLocator>(std::move(created));
        return status;
    }

    bool GetVolumeGeometry(const std::string& rootPath, DiskGeometry& geometry) override {
        DWORD sectorsPerCluster = 0;
        DWORD bytesPerSector = 0;
        DWORD freeClusters = 0;
        DWORD totalClusters = 0;
        if (!GetDiskFreeSpaceA(rootPath.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                               &totalClusters))
            return false;
        geometry = DiskGeometry{sectorsPerCluster, bytesPerSector};
        return true;
    }

private:
    bool m_comInitialised = false;
};

} // namespace

std::unique_ptr<WmiSource> CreateWindowsWmiSource() {
    return std::make_unique<WindowsWmiSource>();
}

#endif
