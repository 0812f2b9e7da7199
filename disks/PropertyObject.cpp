#include "disks/PropertyObject.h"

#include "disks/WmiStatus.h"

PropertyObject& PropertyObject::Text(const std::string& name, std::string text) {
    m_properties[name] = Property{0, WmiValue::MakeText(std::move(text))};
    return *this;
}

PropertyObject& PropertyObject::Null(const std::string& name) {
    m_properties[name] = Property{0, WmiValue::MakeNull()};
    return *this;
}

PropertyObject& PropertyObject::Other(const std::string& name) {
    m_properties[name] = Property{0, WmiValue::MakeOther()};
    return *this;
}

PropertyObject& PropertyObject::Failing(const std::string& name, WmiStatus status) {
    m_properties[name] = Property{status, WmiValue::MakeOther()};
    return *this;
}

WmiStatus PropertyObject::Get(const std::string& name, WmiValue& value) {
    const auto found = m_properties.find(name);
    if (found == m_properties.end()) {
        value = WmiValue::MakeOther();
        return kWbemNotFound;
    }
    value = found->second.value;
    return found->second.status;
}

WmiStatus ListEnumeration::Next(std::unique_ptr<WmiObject>& object, unsigned& returned) {
    object.reset();
    if (m_next >= m_objects.size()) {
        returned = 0;
        return 1; // WBEM_S_FALSE: no more objects
    }
    const EnumeratedObject& next = m_objects[m_next++];
    object = std::make_unique<PropertyObject>(next.object);
    returned = 1;
    return next.status;
}

WmiStatus DeferredEnumeration::Next(std::unique_ptr<WmiObject>& object, unsigned& returned) {
    object.reset();
    returned = m_next < m_count ? 1 : 0;
    if (returned == 0)
        return 1; // WBEM_S_FALSE: no more objects
    object = std::make_unique<PropertyObject>(m_make(m_next++));
    return 0;
}
