#pragma once

#include "core/platform/date_time.h"

#include <functional>
#include <string>
#include <string_view>

namespace norvale {

// One StoredProps entry: a published property of a component, kept as text under the value
// name "component_property". Booleans are stored as "True"/"False", date-times as general
// number text with "." as the decimal separator.
class TStoredProperty {
public:
    static TStoredProperty Boolean(std::string componentName, std::string propertyName,
                                   std::function<bool()> get, std::function<void(bool)> set);
    static TStoredProperty DateTimeValue(std::string componentName, std::string propertyName,
                                         std::function<DateTime()> get,
                                         std::function<void(DateTime)> set);

    std::string ValueName() const { return FComponentName + "_" + FPropertyName; }
    // The property's current value as stored text.
    std::string Text() const { return FGet(); }
    // Sets the property from stored text; text that does not parse leaves it unchanged.
    void SetText(std::string_view text, std::string_view decimalSeparator) const {
        FSet(text, decimalSeparator);
    }

private:
    using Setter = std::function<void(std::string_view text, std::string_view decimalSeparator)>;
    TStoredProperty(std::string componentName, std::string propertyName,
                    std::function<std::string()> get, Setter set);

    std::string FComponentName;
    std::string FPropertyName;
    std::function<std::string()> FGet;
    Setter FSet;
};

} // namespace norvale
