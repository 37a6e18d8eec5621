#include "core/shell/stored_property.h"

#include "core/text/ascii.h"
#include "core/time/number_text.h"

#include <utility>

namespace norvale {

TStoredProperty::TStoredProperty(std::string componentName, std::string propertyName,
                                 std::function<std::string()> get, Setter set)
    : FComponentName(std::move(componentName)), FPropertyName(std::move(propertyName)),
      FGet(std::move(get)), FSet(std::move(set)) {}

TStoredProperty TStoredProperty::Boolean(std::string componentName, std::string propertyName,
                                         std::function<bool()> get, std::function<void(bool)> set) {
    return TStoredProperty(
        std::move(componentName), std::move(propertyName),
        [get = std::move(get)] { return std::string(get() ? "True" : "False"); },
        [set = std::move(set)](std::string_view text, std::string_view) {
            // The names of the enumeration, compared ignoring case.
            if (EqualsNoCase(text, "True")) {
                set(true);
            } else if (EqualsNoCase(text, "False")) {
                set(false);
            }
        });
}

TStoredProperty TStoredProperty::DateTimeValue(std::string componentName, std::string propertyName,
                                               std::function<DateTime()> get,
                                               std::function<void(DateTime)> set) {
    return TStoredProperty(
        std::move(componentName), std::move(propertyName),
        [get = std::move(get)] { return FormatGeneralNumber(get()); },
        [set = std::move(set)](std::string_view text, std::string_view decimalSeparator) {
            if (const auto value = ParseGeneralNumber(text, decimalSeparator)) {
                set(*value);
            }
        });
}

} // namespace norvale
