#pragma once

#include "disks/WmiSource.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// A WMI object as a set of named properties, each a value or a failing read. Reading a property it
// does not have fails with "not found", as WMI does.
class PropertyObject : public WmiObject {
public:
    PropertyObject& Text(const std::string& name, std::string text);
    PropertyObject& Null(const std::string& name);
    PropertyObject& Other(const std::string& name);
    PropertyObject& Failing(const std::string& name, WmiStatus status);

    WmiStatus Get(const std::string& name, WmiValue& value) override;

private:
    struct Property {
        WmiStatus status = 0;
        WmiValue value;
    };
    std::map<std::string, Property> m_properties;
};

// One object of an enumeration with the status it is returned with.
struct EnumeratedObject {
    WmiStatus status = 0;
    PropertyObject object;
};

// An enumeration over objects held in a list, handing out copies one at a time.
class ListEnumeration : public WmiEnumeration {
public:
    explicit ListEnumeration(std::vector<EnumeratedObject> objects) : m_objects(std::move(objects)) {}
    WmiStatus Next(std::unique_ptr<WmiObject>& object, unsigned& returned) override;

private:
    std::vector<EnumeratedObject> m_objects;
    std::size_t m_next = 0;
};

// An enumeration that makes each object only when it is asked for, so that the facts in it are those
// of that moment, not of the query.
class DeferredEnumeration : public WmiEnumeration {
public:
    DeferredEnumeration(std::size_t count, std::function<PropertyObject(std::size_t index)> make)
        : m_count(count), m_make(std::move(make)) {}
    WmiStatus Next(std::unique_ptr<WmiObject>& object, unsigned& returned) override;

private:
    std::size_t m_count;
    std::function<PropertyObject(std::size_t index)> m_make;
    std::size_t m_next = 0;
};
